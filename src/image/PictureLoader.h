#pragma once
// Reads picture files for the background holder, safely: only regular files, at most
// maxPictureFileBytes long, at most maxPicturePixels pixels and maxPictureSide per side
// (checked from the header before decoding), with Qt's decoder allocation limit set
// explicitly. A file that breaks a limit fails like an unreadable one. The last decoded file
// is kept while its path, size and modification time stay the same.

#include <QImage>
#include <QString>

namespace sorvel {

constexpr long long maxPictureFileBytes = 256LL * 1024 * 1024;
constexpr long long maxPicturePixels = 64LL * 1024 * 1024;
constexpr int maxPictureSide = 32767;
constexpr int decoderAllocationLimitMB = 512;

enum class PictureKind {
    BitmapOrJpeg,   // the picture loader: BMP, JPEG (and GIF), whatever the name says
    Png,            // the PNG reader
};

// The decoded picture as Format_RGB32 or Format_ARGB32_Premultiplied, or a null image when the
// file cannot be read within the limits. Never blocks on special files.
QImage readPictureFile(const QString& path, PictureKind kind);

} // namespace sorvel
