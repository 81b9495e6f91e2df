#pragma once
// The PNG step of the background picture: the picture file drawn onto the picture holder.

#include <QString>

namespace sorvel {

class PictureHolder;

// Draws the PNG file at path onto the holder's surface from its top-left corner; the holder
// takes the picture's size. Returns whether it drew: false when the file could not be read,
// leaving the surface as it was. Never raises.
bool readPngIntoHolder(const QString& path, PictureHolder& holder) noexcept;

} // namespace sorvel
