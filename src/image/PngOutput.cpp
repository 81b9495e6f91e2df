#include "image/PngOutput.h"

#include <cerrno>
#include <cstring>
#include <exception>

namespace sorvel {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    bool appended = true;
    try {
        output->bytes->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
    } catch (const std::exception&) {
        appended = false;
    }
    if (!appended)
        png_error(png, "out of memory");
}

void flushNothing(png_structp) { }

[[noreturn]] void rememberError(png_structp png, png_const_charp message)
{
    auto* output = static_cast<PngOutput*>(png_get_error_ptr(png));
    std::strncpy(output->failure.data(), message, output->failure.size() - 1);
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) { }

} // namespace

WriteResult runPngWrite(PngOutput& output, const std::function<bool(png_structp, png_infop)>& writeRows) noexcept
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &output, rememberError, ignoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png)
        png_set_write_fn(png, &output, appendBytes, flushNothing);
    const bool written = info && writeRows(png, info);
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    if (written)
        return WriteResult::success();
    output.bytes->clear();
    const char* why = output.failure[0] != 0 ? output.failure.data() : std::strerror(ENOMEM);
    return WriteResult::failure(WriteError::WriteFailed, QString::fromLocal8Bit(why));
}

} // namespace sorvel
