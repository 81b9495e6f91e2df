#pragma once
// Where a BMP file keeps the fields its readers check before Qt decodes it: byte offsets
// from the start of the file (the 14-byte file header, then the information header), the
// compression codes, and a little-endian read of a field.

#include <QByteArray>
#include <QtEndian>

#include <cstdint>

namespace sorvel::bmp {

constexpr int fileHeaderSize = 14;
constexpr int dataOffsetAt = 10;                // where the pixel data starts
constexpr int infoSizeAt = fileHeaderSize;      // the information header's own size
constexpr int bitCountAt = fileHeaderSize + 14; // bits a pixel (Windows headers)
constexpr int compressionAt = fileHeaderSize + 16;
constexpr int masksAt = fileHeaderSize + 40; // after a 40-byte header, or inside a larger one

constexpr std::uint32_t coreHeaderSize = 12; // OS/2 1.x: 16-bit width and height, no compression
constexpr std::uint32_t compressionRgb = 0;
constexpr std::uint32_t compressionBitFields = 3;
constexpr std::uint32_t compressionAlphaBitFields = 6;

// The field of type T at byte `at`; the caller checks that bytes reach that far.
template <typename T> T field(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<T>(bytes.constData() + at);
}

} // namespace sorvel::bmp
