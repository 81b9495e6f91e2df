#pragma once
// Which file format a save writes, decided by the chosen path alone: the last four characters,
// lowered, compared exactly with ".bmp"/".gif", ".jpg" and ".png" in that order.

#include <QString>

namespace sorvel {

enum class ImageFormat {
    None,   // any other ending: nothing is written
    Bitmap, // ".bmp", and ".gif" too (the same Windows bitmap bytes whatever the name says)
    Jpeg,   // ".jpg", after the quality prompt
    Png,    // ".png"
};

// The last four characters of path in lower case, or all of it when it is shorter.
QString formatKey(const QString& path);

ImageFormat imageFormatForPath(const QString& path);

} // namespace sorvel
