#pragma once
// The PNG encoder for pictures with an alpha channel (a transparent or translucent
// background): 8-bit RGBA, straight (not premultiplied) colour, rows unfiltered as in
// PngEncoder.h.

#include "image/ImageWriteResult.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>

namespace sorvel {

// Encodes the top-left width x height pixels of image (any format with alpha; the size must
// fit) into sink, converting one row at a time. The image's resolution is kept (pHYs). Never
// raises: on a failure the sink holds an incomplete file.
WriteResult writeAlphaPngImage(const QImage& image, int width, int height, QIODevice& sink) noexcept;

// The same bytes in memory. A failure leaves bytes empty.
WriteResult encodeAlphaPngImage(const QImage& image, int width, int height, QByteArray& bytes) noexcept;

} // namespace sorvel
