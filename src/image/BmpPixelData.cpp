#include "image/BmpPixelData.h"

#include "image/BmpHeaderFields.h"

#include <cstdint>
#include <cstdlib>

namespace sorvel {

namespace {

using namespace bmp;

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

} // namespace

bool bmpPixelDataComplete(const QByteArray& header, qint64 fileSize)
{
    if (header.size() < infoSizeAt + 4 || !header.startsWith("BM"))
        return true;
    // Pixel data that starts past the end is missing whatever its compression.
    const long long dataOffset = field<std::uint32_t>(header, dataOffsetAt);
    if (dataOffset > fileSize)
        return false;
    // An information header of a size no BMP version uses, or one that reaches into the pixel
    // data or past the file's end: Qt's reader then seeks beyond what it has (a file allows
    // that, a buffer does not) or reads memory it never wrote, so the same bytes can give other
    // pixels from one reading to the next.
    const std::uint32_t infoSize = field<std::uint32_t>(header, infoSizeAt);
    if (!knownInfoSize(infoSize) || dataOffset < infoSizeAt + static_cast<long long>(infoSize))
        return false;
    long long width = 0;
    long long height = 0;
    long long bitsPerPixel = 0;
    if (infoSize == coreHeaderSize) {
        if (header.size() < 26)
            return true;
        width = field<std::uint16_t>(header, 18);
        height = field<std::uint16_t>(header, 20);
        bitsPerPixel = field<std::uint16_t>(header, 24);
    } else {
        if (header.size() < compressionAt + 4)
            return true;
        const std::uint32_t compression = field<std::uint32_t>(header, compressionAt);
        if (compression != compressionRgb && compression != compressionBitFields &&
            compression != compressionAlphaBitFields)
            return true;
        width = std::llabs(static_cast<long long>(field<std::int32_t>(header, 18)));
        height = std::llabs(static_cast<long long>(field<std::int32_t>(header, 22)));
        bitsPerPixel = field<std::uint16_t>(header, bitCountAt);
    }
    const long long rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    if (height == 0 || rowBytes == 0)
        return true;
    return rowBytes <= (fileSize - dataOffset) / height;
}

} // namespace sorvel
