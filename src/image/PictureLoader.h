#pragma once
// Reads picture files for the background holder, safely: only regular files, at most
// maxPictureFileBytes long, at most maxPicturePixels pixels and maxPictureSide per side
// (checked from the header before decoding), with Qt's decoder allocation limit set
// explicitly. A file that breaks a limit fails like an unreadable one. The last decoded file
// is kept while its path and identity (device, inode, size, modification and change time)
// stay the same, so a file replaced by a rename or rewritten with its old times is read anew.
// A 16-bit BMP decodes to full-range colours (its largest sample is 255); a BMP whose pixel
// data is cut short fails like a damaged file.

#include "image/ImageFormatTable.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace sorvel {

#ifndef SORVEL_SMALL_LIMITS
constexpr long long maxPictureFileBytes = 256LL * 1024 * 1024;
constexpr long long maxPicturePixels = 64LL * 1024 * 1024;
constexpr int maxPictureSide = 32767;
constexpr int decoderAllocationLimitMB = 512;
#else
// The fuzz build: limits a small input reaches and a decoder passes quickly.
constexpr long long maxPictureFileBytes = 1024 * 1024;
constexpr long long maxPicturePixels = 16 * 1024;
constexpr int maxPictureSide = 1024;
constexpr int decoderAllocationLimitMB = 8;
#endif

// The decoded picture as Format_RGB32 or Format_ARGB32_Premultiplied, or a null image when the
// file cannot be read within the limits. Never blocks on special files.
QImage readPictureFile(const QString& path, PictureKind kind);

// The same decoding, within the same limits, of a file's bytes held in memory (no cache).
QImage decodePicture(const QByteArray& bytes, PictureKind kind);

} // namespace sorvel
