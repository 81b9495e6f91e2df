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

// zlib level of the PNG writer. Measured with bench/bench_png_levels on the pictures of the peer
// benchmark, black on white (greyscale) and in rainbow colours (RGB): level 5 keeps every file
// within 5% of the default level 6 and encodes it in 10-30% less time. Levels 1 to 4 are
// cheaper still but make greyscale files up to 60% larger: on long rows deflate's shorter
// searches miss the repeats. (A one-colour RGB picture of a 1,000-character line grows 20%
// even at level 5; greyscale pictures, the default colours, never do.)
constexpr int pngZlibLevel = 5;

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
        const WriteResult taken = takeRegion(canvas, width, height, encoding, region);
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
    return writeRegion(canvas, width, height, path, Encoding::Png, pngWriterQuality(pngZlibLevel));
}

WriteResult encodePNG(const QImage& canvas, int width, int height, QByteArray& bytes) noexcept
{
    return encodeRegion(canvas, width, height, Encoding::Png, pngWriterQuality(pngZlibLevel), bytes);
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
