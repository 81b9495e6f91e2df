#pragma once
// The Windows bitmap writer: BITMAPFILEHEADER, BITMAPINFOHEADER, 24 bits per pixel, rows
// bottom-up and padded to four bytes, the image's resolution (72 dpi when it has none). The
// bytes are those Qt's BMP writer gives for a Format_RGB32 image; they go into the sink one row
// at a time, each converted on its own, so no second image of the picture's size is made.

#include "image/ImageWriteResult.h"

#include <QIODevice>
#include <QImage>

namespace sorvel {

// Writes the top-left width x height pixels of image (any format; the size must fit) into
// sink. Never raises: on a failure the sink holds an incomplete file.
WriteResult writeBmpImage(const QImage& image, int width, int height, QIODevice& sink) noexcept;

} // namespace sorvel
