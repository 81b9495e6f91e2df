#include "image/AlphaPngEncoder.h"

#include "image/PngOutput.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <exception>

namespace sorvel {

namespace {

constexpr int zlibLevel = 6;

// libpng leaves by longjmp: no C++ object with a destructor lives in here.
bool writeRows(png_structp png, png_infop info, const QImage& rgba, int width, int height)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (rgba.dotsPerMeterX() > 0 && rgba.dotsPerMeterY() > 0) {
        png_set_pHYs(png, info, static_cast<png_uint_32>(rgba.dotsPerMeterX()),
                     static_cast<png_uint_32>(rgba.dotsPerMeterY()), PNG_RESOLUTION_METER);
    }
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, zlibLevel);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(rgba.constScanLine(y)));
    png_write_end(png, info);
    return true;
}

} // namespace

WriteResult encodeAlphaPngImage(const QImage& image, int width, int height, QByteArray& bytes) noexcept
{
    bytes.clear();
    if (image.isNull() || width <= 0 || height <= 0 || width > image.width() || height > image.height())
        return WriteResult::failure(WriteError::InvalidSize, {});
    try {
        // Straight colour, bytes in R G B A order on every machine.
        const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
        if (rgba.isNull())
            return WriteResult::failure(WriteError::WriteFailed, QString::fromLocal8Bit(std::strerror(ENOMEM)));
        PngOutput output{&bytes, {}};
        return runPngWrite(output,
                           [&](png_structp png, png_infop info) { return writeRows(png, info, rgba, width, height); });
    } catch (const std::exception&) {
        bytes.clear();
        return WriteResult::failure(WriteError::WriteFailed, QString::fromLocal8Bit(std::strerror(ENOMEM)));
    }
}

} // namespace sorvel
