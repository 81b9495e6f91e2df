// Differential check of the PNG and BMP writers: an arbitrary picture (size, pixel format,
// number of colours, grey or not, alpha, odd bytes in the unused byte of RGB32) is encoded by
// our writers and decoded by Qt's readers, which must give back exactly the pixels the writer
// was handed (the top-left region, as opaque RGB32). The PNG must also be stored in the colour
// type its pixels call for: greyscale when every pixel is grey, a palette for at most 256
// colours, RGB otherwise.
//
// Input layout:
//   byte 0    width - 1 (1..64)           byte 1    height - 1 (1..64)
//   byte 2    bits 0-1 pixel format (RGB32, ARGB32, premultiplied ARGB32, RGB888),
//             bit 2 grey, bit 3 colours from a palette, bit 4 odd unused bytes (RGB32),
//             bit 5 region narrower, bit 6 region shorter, bit 7 a region that does not fit
//   byte 3    palette size - 1, times 2 plus one (1..511 colours, so more than 256 too)
//   byte 4    zlib level (0..9, 10 and above: the writer's own choice)
//   the rest  colours and pixels, read cyclically (all zero when empty)

#include "FuzzSupport.h"

#include "image/ImageWriters.h"
#include "image/PngEncoder.h"

#include <QImage>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <set>
#include <vector>

using namespace sorvel;
using namespace sorvel::fuzzing;

namespace {

constexpr int maxSide = 64;

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    std::uint8_t next()
    {
        if (size == 0)
            return 0;
        const std::uint8_t byte = data[at % size];
        ++at;
        return byte;
    }
    quint32 next32()
    {
        quint32 value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | next();
        return value;
    }
};

struct Case {
    QImage image;
    int width = 0; // the region handed to the writers
    int height = 0;
    int zlibLevel = -1;
};

Case caseOf(const std::uint8_t* data, std::size_t size)
{
    const auto header = [&](std::size_t i) -> std::uint8_t { return i < size ? data[i] : 0; };
    const int width = header(0) % maxSide + 1;
    const int height = header(1) % maxSide + 1;
    const std::uint8_t flags = header(2);
    const bool grey = (flags & 0x04) != 0;
    const bool fromPalette = (flags & 0x08) != 0;
    const bool oddUnused = (flags & 0x10) != 0;
    const int paletteSize = header(3) * 2 + 1;
    const int level = header(4);
    const std::size_t headerSize = std::min<std::size_t>(size, 5);
    Bytes rest{data + headerSize, size - headerSize};

    const auto colour = [&]() {
        quint32 value = rest.next32();
        if (grey) {
            const quint32 g = value & 0xff;
            value = (value & 0xff000000u) | (g << 16) | (g << 8) | g;
        }
        return value;
    };
    std::vector<quint32> palette;
    if (fromPalette)
        for (int i = 0; i < paletteSize; ++i)
            palette.push_back(colour());

    // Built as ARGB32 (or RGB32 with whatever unused byte), then converted to the format asked.
    static constexpr QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_ARGB32,
                                                 QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888};
    const QImage::Format format = formats[flags & 0x03];
    QImage image(width, height, format == QImage::Format_RGB32 ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    require(!image.isNull(), "a small picture can be made");
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            quint32 pixel = fromPalette
                                ? palette[(static_cast<std::size_t>(rest.next()) << 8 | rest.next()) % palette.size()]
                                : colour();
            if (format == QImage::Format_RGB32 && !oddUnused)
                pixel |= 0xff000000u;
            row[x] = pixel;
        }
    }
    if (image.format() != format)
        image = image.convertToFormat(format);

    Case result;
    result.image = image;
    result.width = (flags & 0x20) ? header(3) % width + 1 : width;
    result.height = (flags & 0x40) ? header(4) % height + 1 : height;
    if (flags & 0x80)
        ((header(4) & 1) ? result.width : result.height) += 1 + header(4) / 16;
    result.zlibLevel = level < 10 ? level : -1;
    return result;
}

// What the writers promise to store: the region as opaque RGB32.
QImage expectedPixels(const Case& input)
{
    QImage region = input.image.copy(0, 0, input.width, input.height).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < region.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(region.scanLine(y));
        for (int x = 0; x < region.width(); ++x)
            row[x] |= 0xff000000u;
    }
    return region;
}

void requireSamePixels(const QImage& decoded, const QImage& expected, const char* what)
{
    require(!decoded.isNull(), what);
    const QImage pixels = decoded.convertToFormat(QImage::Format_RGB32);
    require(pixels.size() == expected.size(), what);
    for (int y = 0; y < expected.height(); ++y) {
        const auto* got = reinterpret_cast<const quint32*>(pixels.constScanLine(y));
        const auto* want = reinterpret_cast<const quint32*>(expected.constScanLine(y));
        for (int x = 0; x < expected.width(); ++x)
            if ((got[x] | 0xff000000u) != want[x]) {
                std::fprintf(stderr, "pixel (%d, %d): written %08x, read back %08x\n", x, y, want[x], got[x]);
                require(false, what);
            }
    }
}

// The colour type byte of the PNG's header chunk, as the pixels call for it.
std::uint8_t expectedColourType(const QImage& expected)
{
    bool grey = true;
    std::set<quint32> colours;
    for (int y = 0; y < expected.height(); ++y) {
        const auto* row = reinterpret_cast<const quint32*>(expected.constScanLine(y));
        for (int x = 0; x < expected.width(); ++x) {
            grey = grey && qRed(row[x]) == qGreen(row[x]) && qGreen(row[x]) == qBlue(row[x]);
            colours.insert(row[x]);
        }
    }
    if (grey)
        return 0;
    return colours.size() <= 256 ? 3 : 2;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Case input = caseOf(data, size);
    const bool fits = input.width <= input.image.width() && input.height <= input.image.height();

    QByteArray png;
    const WriteResult pngResult = input.image.format() == QImage::Format_RGB32
                                      ? encodePngImage(input.image, input.width, input.height, png, input.zlibLevel)
                                      : encodePng(input.image, input.width, input.height, png);
    QByteArray bmp;
    const WriteResult bmpResult = encodeBmp(input.image, input.width, input.height, bmp);
    if (!fits) {
        require(pngResult.error == WriteError::InvalidSize && png.isEmpty(), "a region that does not fit: no PNG");
        require(bmpResult.error == WriteError::InvalidSize && bmp.isEmpty(), "a region that does not fit: no BMP");
        return 0;
    }
    require(pngResult.ok() && !png.isEmpty(), "the PNG writer takes any picture");
    require(bmpResult.ok() && !bmp.isEmpty(), "the BMP writer takes any picture");

    const QImage expected = expectedPixels(input);
    requireSamePixels(QImage::fromData(png, "png"), expected, "the PNG reads back as the pixels written");
    requireSamePixels(QImage::fromData(bmp, "bmp"), expected, "the BMP reads back as the pixels written");
    require(png.size() > 25 && static_cast<std::uint8_t>(png[25]) == expectedColourType(expected),
            "the PNG is greyscale, palette or RGB as its pixels call for");
    return 0;
}
