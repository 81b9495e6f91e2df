#pragma once
// The PNG step of the background picture: the picture file drawn onto the hidden holder.

#include <QString>

namespace sorvel {

class PictureHolder;

// Draws the PNG file at path onto the holder's surface from its top-left corner; the holder
// takes the picture's size. Returns 1 when drawn, 0 when the file could not be read (the
// surface is then left as it was). Never raises.
int DCReadPNG(const QString& path, PictureHolder& holder) noexcept;

} // namespace sorvel
