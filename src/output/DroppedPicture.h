#pragma once
// A picture file dropped on the window, which becomes the background picture as one chosen in
// the background dialog does.

class QMimeData;
class QString;

namespace sorvel {

// The local path of the one file a drop brings, when its name ends as a background picture's
// may (.bmp, .jpg, .png, whatever the case); empty for anything else: no file, several files,
// a remote address, a folder, or another ending.
QString droppedBackgroundPicture(const QMimeData& data);

} // namespace sorvel
