#pragma once
// The PNG encoder for pictures with an alpha channel (a transparent or translucent
// background): 8-bit RGBA, straight (not premultiplied) colour, rows unfiltered as in
// PngEncoder.h.

#include "image/ImageWriteResult.h"

#include <QByteArray>
#include <QImage>

namespace sorvel {

// Encodes the top-left width x height pixels of image (any format with alpha; the size must
// fit) into bytes. The image's resolution is kept (pHYs). Never raises: a failure leaves bytes
// empty.
WriteResult encodeAlphaPngImage(const QImage& image, int width, int height, QByteArray& bytes) noexcept;

} // namespace sorvel
