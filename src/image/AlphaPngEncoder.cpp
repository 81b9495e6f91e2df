#include "image/AlphaPngEncoder.h"

#include <png.h>

#include <array>
#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <exception>

namespace sorvel {

namespace {

constexpr int zlibLevel = 6;

struct Output {
    QByteArray* bytes;
    std::array<char, 200> failure{};
};

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* output = static_cast<Output*>(png_get_io_ptr(png));
    output->bytes->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

void flushNothing(png_structp) {}

void rememberError(png_structp png, png_const_charp message)
{
    auto* output = static_cast<Output*>(png_get_error_ptr(png));
    std::strncpy(output->failure.data(), message, output->failure.size() - 1);
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// libpng leaves by longjmp: no C++ object with a destructor lives in here.
bool writeRows(png_structp png, png_infop info, const QImage& rgba, int width, int height)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, png_get_io_ptr(png), appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
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
        Output output{&bytes, {}};
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &output, rememberError, ignoreWarning);
        png_infop info = png ? png_create_info_struct(png) : nullptr;
        if (png)
            png_set_write_fn(png, &output, appendBytes, flushNothing);
        const bool written = info && writeRows(png, info, rgba, width, height);
        png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
        if (!written) {
            bytes.clear();
            const char* why = output.failure[0] != 0 ? output.failure.data() : std::strerror(ENOMEM);
            return WriteResult::failure(WriteError::WriteFailed, QString::fromLocal8Bit(why));
        }
        return WriteResult::success();
    } catch (const std::exception&) {
        bytes.clear();
        return WriteResult::failure(WriteError::WriteFailed, QString::fromLocal8Bit(std::strerror(ENOMEM)));
    }
}

} // namespace sorvel
