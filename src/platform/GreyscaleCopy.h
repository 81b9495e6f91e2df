#pragma once
// A picture whose every pixel is grey (red = green = blue), such as black text on white, holds
// one byte of information per pixel, not three: stored as 8-bit greyscale it encodes in about
// a third of the time and space and decodes to exactly the same pixels.

#include <QImage>

#include <optional>

namespace sorvel {

// The same pixels as a Format_Grayscale8 image when image (Format_RGB32) is all grey; no value
// when any pixel has a colour, or for another format or a null image.
std::optional<QImage> greyscaleCopy(const QImage& image);

} // namespace sorvel
