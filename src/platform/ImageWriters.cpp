#include "platform/ImageWriters.h"

#include "platform/AtomicImageWrite.h"
#include "platform/GreyscaleCopy.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <optional>

namespace sorvel {

namespace {

constexpr int highestJpegQuality = 100;

// zlib levels of the PNG writer, chosen with bench/bench_png_levels on the pictures of the peer
// benchmark, each black on white, in red and in rainbow colours:
// - Greyscale, level 3: files 17-58% smaller than the RGB file Qt's writer makes with its
//   defaults, in a third less time than level 6; levels 1 and 2 save no more time, and
//   level 1 makes a 1,000-character line larger than Qt's file.
// - RGB, level 5: files at most 3% larger than at level 6, in 11-18% less time. Lower levels
//   add up to 75% on long lines, where deflate's shorter searches miss the repeats a row
//   apart; even level 5 adds 22-25% to a one-colour line of 1,000 characters.
constexpr int pngGreyscaleZlibLevel = 3;
constexpr int pngRgbZlibLevel = 5;

// Qt's PNG writer takes the level as a quality q from 0 to 100 and uses (100 - q) * 9 / 91.
constexpr int pngWriterQuality(int zlibLevel)
{
    return 100 - (zlibLevel * 91 + 8) / 9;
}
static_assert((100 - pngWriterQuality(pngGreyscaleZlibLevel)) * 9 / 91 == pngGreyscaleZlibLevel);
static_assert((100 - pngWriterQuality(pngRgbZlibLevel)) * 9 / 91 == pngRgbZlibLevel);

// The quality the encoder gets: for PNG the level for the region's colour type.
int writerQuality(const QImage& region, int requested, bool png)
{
    if (!png)
        return requested;
    return pngWriterQuality(region.format() == QImage::Format_Grayscale8 ? pngGreyscaleZlibLevel
                                                                          : pngRgbZlibLevel);
}

QString outOfMemory()
{
    return QString::fromLocal8Bit(std::strerror(ENOMEM));
}

enum class Encoding { Png, Jpeg, Bitmap };

// The top-left width x height pixels of the canvas as the encoder takes them; a PNG of a grey
// picture is 8-bit greyscale. A failure when the size does not fit or memory runs out.
WriteResult takeRegion(const QImage& canvas, int width, int height, Encoding encoding, QImage& region)
{
    if (!regionFits(canvas, width, height))
        return WriteResult::failure(WriteError::InvalidSize, {});
    region = topLeftRegion(canvas, width, height);
    if (region.isNull())
        return WriteResult::failure(WriteError::WriteFailed, outOfMemory());
    if (encoding == Encoding::Png) {
        if (std::optional<QImage> grey = greyscaleCopy(region))
            region = std::move(*grey);
    }
    return WriteResult::success();
}

const char* formatName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Png: return "png";
    case Encoding::Jpeg: return "jpeg";
    case Encoding::Bitmap: return "bmp";
    }
    return "png";
}

WriteResult writeRegion(const QImage& canvas, int width, int height, const QString& path,
                        Encoding encoding, int quality) noexcept
{
    try {
        QImage region;
        const WriteResult taken = takeRegion(canvas, width, height, encoding, region);
        if (!taken.ok())
            return taken;
        return writeImageAtomically(region, path, formatName(encoding),
                                    writerQuality(region, quality, encoding == Encoding::Png));
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
        const WriteResult taken = takeRegion(canvas, width, height, encoding, region);
        if (!taken.ok())
            return taken;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, formatName(encoding));
        writer.setQuality(writerQuality(region, quality, encoding == Encoding::Png));
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
    return writeRegion(canvas, width, height, path, Encoding::Png, -1);
}

WriteResult encodePNG(const QImage& canvas, int width, int height, QByteArray& bytes) noexcept
{
    return encodeRegion(canvas, width, height, Encoding::Png, -1, bytes);
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
