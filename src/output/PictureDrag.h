#pragma once
// What the picture carries when it is dragged out of the window: its PNG bytes as image/png,
// for programs that take a picture (a chat, a document), and the same bytes as a PNG file, for
// file managers, which take files.

#include <QImage>
#include <QString>

#include <memory>

class QMimeData;

namespace sorvel {

// The width x height pixels from the canvas's top-left corner as image/png (the bytes the save
// writes), and as a file in folder named after text (proposedFileName, "sorvel" when that is
// empty) with ".png", offered as its URL. A file that cannot be written leaves only image/png;
// a picture that cannot be encoded gives no data at all (nullptr).
std::unique_ptr<QMimeData> pictureDragData(const QImage& canvas, int width, int height, const QString& folder,
                                           const QString& text);

} // namespace sorvel
