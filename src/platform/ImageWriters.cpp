#include "platform/ImageWriters.h"

#include "platform/AtomicImageWrite.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>

namespace sorvel {

namespace {

constexpr int highestJpegQuality = 100;

// zlib level of the PNG writer. To be chosen by measurement.
constexpr int pngZlibLevel = 6;

// Qt's PNG writer takes the level as a quality q from 0 to 100 and uses (100 - q) * 9 / 91.
constexpr int pngWriterQuality(int zlibLevel)
{
    return 100 - (zlibLevel * 91 + 8) / 9;
}
static_assert((100 - pngWriterQuality(pngZlibLevel)) * 9 / 91 == pngZlibLevel);

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
    return writeRegion(canvas, width, height, path, "png", pngWriterQuality(pngZlibLevel));
}

WriteResult encodePNG(const QImage& canvas, int width, int height, QByteArray& bytes) noexcept
{
    try {
        bytes.clear();
        if (!regionFits(canvas, width, height))
            return WriteResult::failure(WriteError::InvalidSize, {});
        const QImage region = topLeftRegion(canvas, width, height);
        if (region.isNull())
            return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        writer.setQuality(pngWriterQuality(pngZlibLevel));
        if (!writer.write(region))
            return WriteResult::failure(WriteError::WriteFailed, writer.errorString());
        return WriteResult::success();
    } catch (const std::exception&) {
        bytes.clear();
        return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
    }
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
