#pragma once
// Writes an encoded image so that the target is either the complete new file or left exactly
// as it was: the data goes to a temporary file in the target's folder, which replaces the
// target only after everything was written.

#include "platform/ImageWriteResult.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace sorvel {

// format is a QImageWriter format name ("jpeg", "bmp"); quality as QImageWriter takes it (-1:
// the encoder's default).
WriteResult writeImageAtomically(const QImage& image, const QString& path, const char* format,
                                 int quality);

// The same for bytes already encoded.
WriteResult writeBytesAtomically(const QByteArray& bytes, const QString& path);

// Whether width x height pixels from the top-left corner lie inside image (false for 0,
// negative or larger sizes and for a null image).
bool regionFits(const QImage& image, int width, int height);

// The top-left width x height pixels of image as Format_RGB32; the size must fit. A null
// image when memory for the copy runs out.
QImage topLeftRegion(const QImage& image, int width, int height);

} // namespace sorvel
