#pragma once
// 16-bit BMP pictures (5-5-5, 5-6-5 or other bit fields) keep 5 or 6 bits a channel. Qt's BMP
// reader scales such a sample by shifting it up (31 becomes 248, not 255). These functions
// read the channel masks from the file's header and stretch each sample to the full 0..255
// range, as the file means it: the largest sample of a channel becomes 255.

#include <QByteArray>
#include <QImage>

#include <array>
#include <cstdint>
#include <optional>

namespace sorvel {

// How many bytes from the start of a BMP file bmp16ChannelBits needs.
constexpr int bmpHeaderBytes = 70;

// The bits of red, green, blue and alpha of a 16-bit BMP file whose first bytes are header;
// nothing for any other file (other depths, other formats, a header cut short).
std::optional<std::array<int, 4>> bmp16ChannelBits(const QByteArray& header);

// Stretches the samples Qt's reader decoded from a picture with those channel bits to the full
// range. image is Format_RGB32 or Format_ARGB32 (not premultiplied); a channel of 8 or more
// bits, or none, is left as it is.
void widenBmp16Samples(QImage& image, const std::array<int, 4>& channelBits);

} // namespace sorvel
