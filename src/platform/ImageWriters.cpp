#include "platform/ImageWriters.h"

#include "platform/AtomicImageWrite.h"
#include "platform/PngEncoder.h"

#include <QBuffer>
#include <QImageWriter>

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

enum class Encoding { Jpeg, Bitmap };

// The top-left width x height pixels of the canvas as Qt's encoders take them. A failure when
// the size does not fit or memory runs out.
WriteResult takeRegion(const QImage& canvas, int width, int height, QImage& region)
{
    if (!regionFits(canvas, width, height))
        return WriteResult::failure(WriteError::InvalidSize, {});
    region = topLeftRegion(canvas, width, height);
    if (region.isNull())
        return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
    return WriteResult::success();
}

const char* formatName(Encoding encoding)
{
    return encoding == Encoding::Jpeg ? "jpeg" : "bmp";
}

// The PNG encoder reads the canvas in place when it is already Format_RGB32.
WriteResult encodePngRegion(const QImage& canvas, int width, int height, QByteArray& bytes) noexcept
{
    bytes.clear();
    if (canvas.format() == QImage::Format_RGB32 || !regionFits(canvas, width, height))
        return encodePngImage(canvas, width, height, bytes);
    try {
        QImage region;
        const WriteResult taken = takeRegion(canvas, width, height, region);
        if (!taken.ok())
            return taken;
        return encodePngImage(region, width, height, bytes);
    } catch (const std::exception&) {
        return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
    }
}

WriteResult writeRegion(const QImage& canvas, int width, int height, const QString& path,
                        Encoding encoding, int quality) noexcept
{
    try {
        QImage region;
        const WriteResult taken = takeRegion(canvas, width, height, region);
        if (!taken.ok())
            return taken;
        return writeImageAtomically(region, path, formatName(encoding), quality);
    } catch (const std::exception&) {
        // Out of memory while encoding a very large region.
        return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
    }
}

WriteResult encodeRegion(const QImage& canvas, int width, int height, Encoding encoding, int quality,
                         QByteArray& bytes) noexcept
{
    try {
        bytes.clear();
        QImage region;
        const WriteResult taken = takeRegion(canvas, width, height, region);
        if (!taken.ok())
            return taken;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, formatName(encoding));
        writer.setQuality(quality);
        if (!writer.write(region)) {
            bytes.clear();
            return WriteResult::failure(WriteError::WriteFailed, writer.errorString());
        }
        return WriteResult::success();
    } catch (const std::exception&) {
        bytes.clear();
        return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
    }
}

} // namespace

WriteResult DCSavetoPNG(const QImage& canvas, int width, int height, const QString& path,
                        std::uint8_t /*option: reserved*/) noexcept
{
    try {
        QByteArray bytes;
        const WriteResult encoded = encodePngRegion(canvas, width, height, bytes);
        if (!encoded.ok())
            return encoded;
        return writeBytesAtomically(bytes, path);
    } catch (const std::exception&) {
        return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
    }
}

WriteResult encodePNG(const QImage& canvas, int width, int height, QByteArray& bytes) noexcept
{
    return encodePngRegion(canvas, width, height, bytes);
}

WriteResult encodeJPEG(const QImage& canvas, int width, int height, std::uint8_t quality,
                       QByteArray& bytes) noexcept
{
    return encodeRegion(canvas, width, height, Encoding::Jpeg, std::min<int>(quality, highestJpegQuality), bytes);
}

WriteResult encodeBitmap(const QImage& canvas, int width, int height, QByteArray& bytes) noexcept
{
    return encodeRegion(canvas, width, height, Encoding::Bitmap, -1, bytes);
}

WriteResult DCSavetoJPEG(const QImage& canvas, int width, int height, const QString& path,
                         std::uint8_t quality, std::int32_t /*option: reserved*/) noexcept
{
    return writeRegion(canvas, width, height, path, Encoding::Jpeg,
                       std::min<int>(quality, highestJpegQuality));
}

WriteResult saveBitmapFile(const QImage& canvas, int width, int height,
                           const QString& path) noexcept
{
    // Qt's BMP encoder writes an RGB32 image with 24 bits per pixel.
    return writeRegion(canvas, width, height, path, Encoding::Bitmap, -1);
}

} // namespace sorvel
