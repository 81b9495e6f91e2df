#include "platform/ImageWriters.h"

#include "platform/AtomicImageWrite.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>

namespace sorvel {

namespace {

constexpr int highestJpegQuality = 100;

QString outOfMemory()
{
    return QString::fromLocal8Bit(std::strerror(ENOMEM));
}

WriteResult writeRegion(const QImage& canvas, int width, int height, const QString& path,
                        const char* format, int quality) noexcept
{
    try {
        if (!regionFits(canvas, width, height))
            return WriteResult::failure(WriteError::InvalidSize, {});
        const QImage region = topLeftRegion(canvas, width, height);
        if (region.isNull())
            return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
        return writeImageAtomically(region, path, format, quality);
    } catch (const std::exception&) {
        // Out of memory while encoding a very large region.
        return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
    }
}

} // namespace

WriteResult DCSavetoPNG(const QImage& canvas, int width, int height, const QString& path,
                        std::uint8_t /*option: reserved*/) noexcept
{
    return writeRegion(canvas, width, height, path, "png", -1);
}

WriteResult DCSavetoJPEG(const QImage& canvas, int width, int height, const QString& path,
                         std::uint8_t quality, std::int32_t /*option: reserved*/) noexcept
{
    return writeRegion(canvas, width, height, path, "jpeg",
                       std::min<int>(quality, highestJpegQuality));
}

WriteResult saveBitmapFile(const QImage& canvas, int width, int height,
                           const QString& path) noexcept
{
    // Qt's BMP encoder writes an RGB32 image with 24 bits per pixel.
    return writeRegion(canvas, width, height, path, "bmp", -1);
}

} // namespace sorvel
