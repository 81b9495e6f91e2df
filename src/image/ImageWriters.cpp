#include "image/ImageWriters.h"

#include "image/FileReplacement.h"
#include "image/PngEncoder.h"

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

// Whether width x height pixels from the top-left corner lie inside the canvas (false for 0,
// negative or larger sizes and for a null image).
bool regionFits(const QImage& canvas, int width, int height)
{
    return !canvas.isNull() && width > 0 && height > 0 && width <= canvas.width() && height <= canvas.height();
}

// The top-left width x height pixels as Format_RGB32; the size must fit. A null image when
// memory for the copy runs out.
QImage topLeftRegion(const QImage& canvas, int width, int height)
{
    QImage region = (width == canvas.width() && height == canvas.height()) ? canvas : canvas.copy(0, 0, width, height);
    if (region.format() != QImage::Format_RGB32)
        region = region.convertToFormat(QImage::Format_RGB32);
    return region;
}

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

// The window's save: encoded in memory, then put in place once it is on the disk.
template <typename Encode> WriteResult encodeAndReplace(const QString& path, Encode encode) noexcept
{
    try {
        QByteArray bytes;
        const WriteResult encoded = encode(bytes);
        if (!encoded.ok())
            return encoded;
        return replaceFileWith(bytes, path, Durability::OnDisk);
    } catch (const std::exception&) {
        return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
    }
}

} // namespace

WriteResult writePngFile(const QImage& canvas, int width, int height, const QString& path) noexcept
{
    return encodeAndReplace(path, [&](QByteArray& bytes) { return encodePngRegion(canvas, width, height, bytes); });
}

WriteResult encodePng(const QImage& canvas, int width, int height, QByteArray& bytes) noexcept
{
    return encodePngRegion(canvas, width, height, bytes);
}

WriteResult encodeJpeg(const QImage& canvas, int width, int height, std::uint8_t quality, QByteArray& bytes) noexcept
{
    return encodeRegion(canvas, width, height, Encoding::Jpeg, std::min<int>(quality, highestJpegQuality), bytes);
}

WriteResult encodeBmp(const QImage& canvas, int width, int height, QByteArray& bytes) noexcept
{
    // Qt's BMP encoder writes an RGB32 image with 24 bits per pixel.
    return encodeRegion(canvas, width, height, Encoding::Bitmap, -1, bytes);
}

WriteResult writeJpegFile(const QImage& canvas, int width, int height, const QString& path,
                          std::uint8_t quality) noexcept
{
    return encodeAndReplace(path, [&](QByteArray& bytes) { return encodeJpeg(canvas, width, height, quality, bytes); });
}

WriteResult writeBmpFile(const QImage& canvas, int width, int height, const QString& path) noexcept
{
    return encodeAndReplace(path, [&](QByteArray& bytes) { return encodeBmp(canvas, width, height, bytes); });
}

} // namespace sorvel
