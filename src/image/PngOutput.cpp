#include "image/PngOutput.h"

#include <cerrno>
#include <cstring>
#include <exception>

namespace sorvel {

namespace {

// libpng's write callback. png_error() leaves by longjmp, so nothing with a destructor lives
// here when it is called.
void writeBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    bool written = false;
    bool outOfMemory = false;
    try {
        const auto size = static_cast<qint64>(length);
        written = output->sink->write(reinterpret_cast<const char*>(data), size) == size;
    } catch (const std::exception&) {
        outOfMemory = true;
    }
    if (!written)
        png_error(png, outOfMemory ? "out of memory" : "write error");
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
        png_set_write_fn(png, &output, writeBytes, flushNothing);
    const bool written = info && writeRows(png, info);
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    if (written)
        return WriteResult::success();
    const char* why = output.failure[0] != 0 ? output.failure.data() : std::strerror(ENOMEM);
    return WriteResult::failure(WriteError::WriteFailed, QString::fromLocal8Bit(why));
}

} // namespace sorvel
