#include "image/BmpPixelData.h"

#include <QtEndian>

#include <cstdint>
#include <cstdlib>

namespace sorvel {

namespace {

constexpr int dataOffsetAt = 10;
constexpr int infoSizeAt = 14;
constexpr std::uint32_t coreHeaderSize = 12;   // OS/2: 16-bit width and height, no compression
constexpr std::uint32_t compressionRgb = 0;
constexpr std::uint32_t compressionBitFields = 3;
constexpr std::uint32_t compressionAlphaBitFields = 6;

// The information headers of the BMP versions: OS/2 1.x (12), OS/2 2.x (16 or 64), Windows
// 3.x (40), its extensions with bit masks (52, 56), Windows 95 (108) and Windows 98 (124).
bool knownInfoSize(std::uint32_t size)
{
    for (const std::uint32_t known : {12u, 16u, 40u, 52u, 56u, 64u, 108u, 124u}) {
        if (size == known)
            return true;
    }
    return false;
}

template <typename T>
T readLittle(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<T>(bytes.constData() + at);
}

} // namespace

bool bmpPixelDataComplete(const QByteArray& header, qint64 fileSize)
{
    if (header.size() < infoSizeAt + 4 || !header.startsWith("BM"))
        return true;
    // Pixel data that starts past the end is missing whatever its compression.
    const long long dataOffset = readLittle<std::uint32_t>(header, dataOffsetAt);
    if (dataOffset > fileSize)
        return false;
    // So is an information header that runs past the end: Qt's reader then seeks beyond it,
    // which a file allows and a buffer does not, and the same bytes give other pixels.
    const std::uint32_t infoSize = readLittle<std::uint32_t>(header, infoSizeAt);
    if (infoSizeAt + static_cast<long long>(infoSize) > fileSize)
        return false;
    // A header size no BMP writer uses, or pixel data that starts inside the header: Qt's reader
    // reads such files from memory it never wrote, so each reading can give other pixels.
    if (!knownInfoSize(infoSize) || dataOffset < infoSizeAt + static_cast<long long>(infoSize))
        return false;
    long long width = 0;
    long long height = 0;
    long long bitsPerPixel = 0;
    if (infoSize == coreHeaderSize) {
        if (header.size() < 26)
            return true;
        width = readLittle<std::uint16_t>(header, 18);
        height = readLittle<std::uint16_t>(header, 20);
        bitsPerPixel = readLittle<std::uint16_t>(header, 24);
    } else {
        if (header.size() < 34)
            return true;
        const std::uint32_t compression = readLittle<std::uint32_t>(header, 30);
        if (compression != compressionRgb && compression != compressionBitFields
            && compression != compressionAlphaBitFields)
            return true;
        width = std::llabs(static_cast<long long>(readLittle<std::int32_t>(header, 18)));
        height = std::llabs(static_cast<long long>(readLittle<std::int32_t>(header, 22)));
        bitsPerPixel = readLittle<std::uint16_t>(header, 28);
    }
    const long long rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    if (height == 0 || rowBytes == 0)
        return true;
    return rowBytes <= (fileSize - dataOffset) / height;
}

} // namespace sorvel
