#include "image/AlphaPngEncoder.h"

#include "image/InMemoryEncoding.h"
#include "image/PngOutput.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <exception>
#include <vector>

namespace sorvel {

namespace {

constexpr int zlibLevel = 6;
constexpr int rgbaBytes = 4;

// Row y of image as straight RGBA, bytes in R G B A order on every machine. False when memory
// for the converted row runs out. Its objects are gone before libpng is called again.
bool fillRgbaRow(const QImage& image, int y, int width, unsigned char* row) noexcept
{
    try {
        const auto bytes = static_cast<std::size_t>(width) * rgbaBytes;
        if (image.format() == QImage::Format_RGBA8888) {
            std::memcpy(row, image.constScanLine(y), bytes);
            return true;
        }
        const QImage converted = image.copy(0, y, width, 1).convertToFormat(QImage::Format_RGBA8888);
        if (converted.isNull())
            return false;
        std::memcpy(row, converted.constScanLine(0), bytes);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// libpng leaves by longjmp: no C++ object with a destructor lives in here.
bool writeRows(png_structp png, png_infop info, const QImage& image, int width, int height, unsigned char* row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        png_set_pHYs(png, info, static_cast<png_uint_32>(image.dotsPerMeterX()),
                     static_cast<png_uint_32>(image.dotsPerMeterY()), PNG_RESOLUTION_METER);
    }
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, zlibLevel);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        if (!fillRgbaRow(image, y, width, row))
            png_error(png, "out of memory");
        png_write_row(png, row);
    }
    png_write_end(png, info);
    return true;
}

} // namespace

WriteResult writeAlphaPngImage(const QImage& image, int width, int height, QIODevice& sink) noexcept
{
    if (image.isNull() || width <= 0 || height <= 0 || width > image.width() || height > image.height())
        return WriteResult::failure(WriteError::InvalidSize, {});
    try {
        std::vector<unsigned char> row(static_cast<std::size_t>(width) * rgbaBytes);
        PngOutput output{&sink, {}};
        return runPngWrite(output, [&](png_structp png, png_infop info) {
            return writeRows(png, info, image, width, height, row.data());
        });
    } catch (const std::exception&) {
        return WriteResult::failure(WriteError::WriteFailed, QString::fromLocal8Bit(std::strerror(ENOMEM)));
    }
}

WriteResult encodeAlphaPngImage(const QImage& image, int width, int height, QByteArray& bytes) noexcept
{
    return encodeInMemory(bytes, [&](QIODevice& sink) { return writeAlphaPngImage(image, width, height, sink); });
}

} // namespace sorvel
