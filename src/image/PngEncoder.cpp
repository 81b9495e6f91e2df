#include "image/PngEncoder.h"

#include "image/InMemoryEncoding.h"
#include "image/PngOutput.h"

#include <png.h>

#include <array>
#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <exception>
#include <vector>

namespace sorvel {

namespace {

constexpr int maxPaletteSize = 256;

// zlib levels, chosen with bench/bench_png_levels on the pictures of the peer benchmark (black
// on white, one colour, rainbow, with and without shadow). Against Qt's own PNG writer at its
// defaults (RGB, zlib level 6, filters chosen per row):
// - one byte a pixel (grey, palette), level 3: files from 0% to 61% smaller, in a fifth to a
//   quarter of the time. Levels 1 and 2 save little more time and make long lines up to a
//   third larger.
// - RGB, level 6: files from 0% to 16% smaller, in two thirds of the time. Lower levels make
//   red text with a grey shadow (more than 256 colours, few of them common) up to 43% larger.
constexpr int greyLevel = 3;
constexpr int paletteLevel = 3;
constexpr int rgbLevel = 6;

// The palette index of each colour met so far: open addressing over twice the largest palette,
// so a lookup rarely probes more than once.
class ColourIndex {
public:
    // The colour's index; a new colour gets the next index, or -1 when the palette is full.
    int indexOf(QRgb colour)
    {
        std::size_t slot = (colour * 2654435761u) >> (32 - slotBits);
        while (m_colours[slot] != empty) {
            if (m_colours[slot] == colour)
                return m_indices[slot];
            slot = (slot + 1) & (slotCount - 1);
        }
        if (m_size == maxPaletteSize)
            return -1;
        m_colours[slot] = colour;
        m_indices[slot] = static_cast<quint8>(m_size);
        return m_size++;
    }

private:
    static constexpr int slotBits = 9;
    static constexpr std::size_t slotCount = std::size_t{1} << slotBits;
    // Colours are looked up opaque (0xffRRGGBB), so 0 is never one.
    static constexpr QRgb empty = 0;
    std::array<QRgb, slotCount> m_colours{};
    std::array<quint8, slotCount> m_indices{};
    int m_size = 0;
};

// Format_RGB32 keeps 0xff in the unused byte, but a picture built from raw data may not: the
// colour is the low three bytes alone.
QRgb opaque(QRgb pixel)
{
    return pixel | 0xff000000u;
}

const QRgb* rowOf(const QImage& image, int y)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

bool isGrey(const QImage& image, int width, int height)
{
    for (int y = 0; y < height; ++y) {
        const QRgb* row = rowOf(image, y);
        // Blue equals green and green equals red exactly when the low two bytes of the pixel
        // and of the pixel shifted by one byte agree.
        QRgb colour = 0;
        for (int x = 0; x < width; ++x)
            colour |= (row[x] ^ (row[x] >> 8)) & 0xffffu;
        if (colour != 0)
            return false;
    }
    return true;
}

// Everything libpng's callbacks need; no C++ object with a destructor lives in a frame that
// png_error() jumps over.
struct Encoding {
    const QImage* image = nullptr;
    int width = 0;
    int height = 0;
    const PngLayout* layout = nullptr;
    ColourIndex* index = nullptr;
    unsigned char* row = nullptr;
};

void fillRow(const Encoding& encoding, int y)
{
    const QRgb* source = rowOf(*encoding.image, y);
    unsigned char* target = encoding.row;
    switch (encoding.layout->type) {
    case PngColourType::Grey:
        for (int x = 0; x < encoding.width; ++x)
            target[x] = static_cast<unsigned char>(source[x]);
        break;
    case PngColourType::Palette: {
        QRgb last = 0;
        int lastIndex = 0;
        for (int x = 0; x < encoding.width; ++x) {
            if (opaque(source[x]) != last) {
                last = opaque(source[x]);
                lastIndex = encoding.index->indexOf(last);
            }
            target[x] = static_cast<unsigned char>(lastIndex);
        }
        break;
    }
    case PngColourType::Rgb:
        for (int x = 0; x < encoding.width; ++x) {
            target[3 * x] = static_cast<unsigned char>(qRed(source[x]));
            target[3 * x + 1] = static_cast<unsigned char>(qGreen(source[x]));
            target[3 * x + 2] = static_cast<unsigned char>(qBlue(source[x]));
        }
        break;
    }
}

int libpngColourType(PngColourType type)
{
    switch (type) {
    case PngColourType::Grey:
        return PNG_COLOR_TYPE_GRAY;
    case PngColourType::Palette:
        return PNG_COLOR_TYPE_PALETTE;
    case PngColourType::Rgb:
        return PNG_COLOR_TYPE_RGB;
    }
    return PNG_COLOR_TYPE_RGB;
}

// The libpng calls. png_error() returns here through setjmp, so this frame and the callbacks
// hold nothing that needs destroying.
bool writeWithLibpng(png_structp png, png_infop info, const Encoding& encoding, int level)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, level);
    png_set_IHDR(png, info, static_cast<png_uint_32>(encoding.width), static_cast<png_uint_32>(encoding.height), 8,
                 libpngColourType(encoding.layout->type), PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
                 PNG_FILTER_TYPE_BASE);
    if (encoding.layout->type == PngColourType::Palette) {
        std::array<png_color, maxPaletteSize> colours{};
        const auto& palette = encoding.layout->palette;
        for (qsizetype i = 0; i < palette.size(); ++i)
            colours[static_cast<std::size_t>(i)] = {static_cast<png_byte>(qRed(palette[i])),
                                                    static_cast<png_byte>(qGreen(palette[i])),
                                                    static_cast<png_byte>(qBlue(palette[i]))};
        png_set_PLTE(png, info, colours.data(), static_cast<int>(palette.size()));
    }
    const QImage& image = *encoding.image;
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
        png_set_pHYs(png, info, static_cast<png_uint_32>(image.dotsPerMeterX()),
                     static_cast<png_uint_32>(image.dotsPerMeterY()), PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < encoding.height; ++y) {
        fillRow(encoding, y);
        png_write_row(png, encoding.row);
    }
    png_write_end(png, info);
    return true;
}

} // namespace

PngLayout pngLayoutOf(const QImage& image, int width, int height)
{
    if (isGrey(image, width, height))
        return {PngColourType::Grey, {}};
    PngLayout layout{PngColourType::Palette, {}};
    ColourIndex index;
    QRgb last = 0;
    for (int y = 0; y < height; ++y) {
        const QRgb* row = rowOf(image, y);
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = opaque(row[x]);
            if (pixel == last)
                continue;
            last = pixel;
            const int colourIndex = index.indexOf(last);
            if (colourIndex < 0)
                return {PngColourType::Rgb, {}};
            if (colourIndex == layout.palette.size())
                layout.palette.append(last);
        }
    }
    return layout;
}

int defaultPngLevel(PngColourType type)
{
    switch (type) {
    case PngColourType::Grey:
        return greyLevel;
    case PngColourType::Palette:
        return paletteLevel;
    case PngColourType::Rgb:
        return rgbLevel;
    }
    return rgbLevel;
}

WriteResult writePngImage(const QImage& image, int width, int height, QIODevice& sink, int zlibLevel) noexcept
{
    if (image.isNull() || image.format() != QImage::Format_RGB32 || width <= 0 || height <= 0 ||
        width > image.width() || height > image.height())
        return WriteResult::failure(WriteError::InvalidSize, {});
    try {
        const PngLayout layout = pngLayoutOf(image, width, height);
        ColourIndex index;
        for (const QRgb colour : layout.palette)
            index.indexOf(colour);
        const std::size_t bytesPerPixel = layout.type == PngColourType::Rgb ? 3 : 1;
        std::vector<unsigned char> row(static_cast<std::size_t>(width) * bytesPerPixel);
        const Encoding encoding{&image, width, height, &layout, &index, row.data()};
        const int level = zlibLevel >= 0 && zlibLevel <= 9 ? zlibLevel : defaultPngLevel(layout.type);
        PngOutput output{&sink, {}};
        return runPngWrite(
            output, [&](png_structp png, png_infop info) { return writeWithLibpng(png, info, encoding, level); });
    } catch (const std::exception&) {
        return WriteResult::failure(WriteError::WriteFailed, QString::fromLocal8Bit(std::strerror(ENOMEM)));
    }
}

WriteResult encodePngImage(const QImage& image, int width, int height, QByteArray& bytes, int zlibLevel) noexcept
{
    return encodeInMemory(bytes, [&](QIODevice& sink) { return writePngImage(image, width, height, sink, zlibLevel); });
}

} // namespace sorvel
