#include "image/Bmp16Samples.h"

#include "image/BmpHeaderFields.h"

#include <bit>

namespace sorvel {

namespace {

using namespace bmp;

// The map from the value Qt decoded for a channel of `bits` bits to the full-range value. Qt
// puts the sample in the top bits (and may or may not repeat it below), so the sample is the
// value's top `bits` bits.
std::array<quint8, 256> widening(int bits)
{
    std::array<quint8, 256> map{};
    const unsigned largest = (1u << bits) - 1;
    for (unsigned value = 0; value < 256; ++value) {
        const unsigned sample = value >> (8 - bits);
        map[value] = static_cast<quint8>((sample * 255 + largest / 2) / largest);
    }
    return map;
}

} // namespace

std::optional<std::array<int, 4>> bmp16ChannelBits(const QByteArray& header)
{
    if (header.size() < compressionAt + 4 || !header.startsWith("BM"))
        return std::nullopt;
    if (field<std::uint16_t>(header, bitCountAt) != 16)
        return std::nullopt;
    const std::uint32_t compression = field<std::uint32_t>(header, compressionAt);
    if (compression == compressionRgb)
        return std::array<int, 4>{5, 5, 5, 0};
    if (compression != compressionBitFields && compression != compressionAlphaBitFields)
        return std::nullopt;
    const std::uint32_t headerSize = field<std::uint32_t>(header, fileHeaderSize);
    const bool alphaMask = compression == compressionAlphaBitFields || headerSize >= 56;
    if (header.size() < masksAt + (alphaMask ? 16 : 12))
        return std::nullopt;
    std::array<int, 4> bits{};
    for (int channel = 0; channel < (alphaMask ? 4 : 3); ++channel) {
        const std::uint32_t mask = field<std::uint32_t>(header, masksAt + 4 * channel) & 0xffffu;
        bits[static_cast<std::size_t>(channel)] = std::popcount(mask);
    }
    return bits;
}

void widenBmp16Samples(QImage& image, const std::array<int, 4>& channelBits)
{
    std::array<std::array<quint8, 256>, 4> maps{};
    bool any = false;
    for (std::size_t channel = 0; channel < 4; ++channel) {
        const int bits = channelBits[channel];
        if (bits > 0 && bits < 8) {
            maps[channel] = widening(bits);
            any = true;
        } else {
            for (unsigned value = 0; value < 256; ++value)
                maps[channel][value] = static_cast<quint8>(value);
        }
    }
    const bool alpha = image.format() == QImage::Format_ARGB32;
    if (!any || (image.format() != QImage::Format_RGB32 && !alpha))
        return;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            row[x] = qRgba(maps[0][qRed(p)], maps[1][qGreen(p)], maps[2][qBlue(p)], alpha ? maps[3][qAlpha(p)] : 255);
        }
    }
}

} // namespace sorvel
