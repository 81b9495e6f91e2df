#include "image/ImageWriters.h"

#include "image/BmpWriter.h"
#include "image/FileReplacement.h"
#include "image/InMemoryEncoding.h"
#include "image/PngEncoder.h"

#include <QColorSpace>
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

// Whether width x height pixels from the top-left corner lie inside the canvas (false for 0,
// negative or larger sizes and for a null image).
bool regionFits(const QImage& canvas, int width, int height)
{
    return !canvas.isNull() && width > 0 && height > 0 && width <= canvas.width() && height <= canvas.height();
}

// The top-left width x height pixels as Format_RGB32; the size must fit. A Format_RGB32 canvas
// is read where it lies (the whole canvas, or a view of its top-left part that shares its
// pixels); any other format is converted, which takes a copy of that size. A null image when
// memory for the copy runs out.
QImage topLeftRegion(const QImage& canvas, int width, int height)
{
    if (canvas.format() != QImage::Format_RGB32)
        return canvas.copy(0, 0, width, height).convertToFormat(QImage::Format_RGB32);
    if (width == canvas.width() && height == canvas.height())
        return canvas;
    QImage view(canvas.constBits(), width, height, canvas.bytesPerLine(), canvas.format());
    view.setDotsPerMeterX(canvas.dotsPerMeterX());
    view.setDotsPerMeterY(canvas.dotsPerMeterY());
    if (canvas.colorSpace().isValid())
        view.setColorSpace(canvas.colorSpace());
    for (const QString& key : canvas.textKeys())
        view.setText(key, canvas.text(key));
    return view;
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

// The window's save: streamed into the new file, put in place once it is on the disk.
WriteResult replaceOnDisk(const QString& path, const FileContentsWriter& write) noexcept
{
    return replaceFileWithStream(path, Durability::OnDisk, write);
}

} // namespace

WriteResult writePng(const QImage& canvas, int width, int height, QIODevice& sink) noexcept
{
    // The PNG encoder reads the canvas in place when it is Format_RGB32, as the canvas is
    // whenever its background is opaque.
    if (canvas.format() == QImage::Format_RGB32 || !regionFits(canvas, width, height))
        return writePngImage(canvas, width, height, sink);
    try {
        QImage region;
        const WriteResult taken = takeRegion(canvas, width, height, region);
        if (!taken.ok())
            return taken;
        return writePngImage(region, width, height, sink);
    } catch (const std::exception&) {
        return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
    }
}

WriteResult writeJpeg(const QImage& canvas, int width, int height, std::uint8_t quality, QIODevice& sink) noexcept
{
    try {
        QImage region;
        const WriteResult taken = takeRegion(canvas, width, height, region);
        if (!taken.ok())
            return taken;
        // Qt's JPEG writer compresses scanline by scanline into the device.
        QImageWriter writer(&sink, "jpeg");
        writer.setQuality(std::min<int>(quality, highestJpegQuality));
        if (!writer.write(region))
            return WriteResult::failure(WriteError::WriteFailed, writer.errorString());
        return WriteResult::success();
    } catch (const std::exception&) {
        return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
    }
}

WriteResult writeBmp(const QImage& canvas, int width, int height, QIODevice& sink) noexcept
{
    return writeBmpImage(canvas, width, height, sink);
}

WriteResult writePngFile(const QImage& canvas, int width, int height, const QString& path) noexcept
{
    return replaceOnDisk(path, [&](QIODevice& sink) { return writePng(canvas, width, height, sink); });
}

WriteResult writeJpegFile(const QImage& canvas, int width, int height, const QString& path,
                          std::uint8_t quality) noexcept
{
    return replaceOnDisk(path, [&](QIODevice& sink) { return writeJpeg(canvas, width, height, quality, sink); });
}

WriteResult writeBmpFile(const QImage& canvas, int width, int height, const QString& path) noexcept
{
    return replaceOnDisk(path, [&](QIODevice& sink) { return writeBmp(canvas, width, height, sink); });
}

WriteResult encodePng(const QImage& canvas, int width, int height, QByteArray& bytes) noexcept
{
    return encodeInMemory(bytes, [&](QIODevice& sink) { return writePng(canvas, width, height, sink); });
}

WriteResult encodeJpeg(const QImage& canvas, int width, int height, std::uint8_t quality, QByteArray& bytes) noexcept
{
    return encodeInMemory(bytes, [&](QIODevice& sink) { return writeJpeg(canvas, width, height, quality, sink); });
}

WriteResult encodeBmp(const QImage& canvas, int width, int height, QByteArray& bytes) noexcept
{
    return encodeInMemory(bytes, [&](QIODevice& sink) { return writeBmp(canvas, width, height, sink); });
}

} // namespace sorvel
