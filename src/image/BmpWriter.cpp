#include "image/BmpWriter.h"

#include <QtEndian>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <vector>

namespace sorvel {

namespace {

constexpr int fileHeaderBytes = 14;
constexpr int infoHeaderBytes = 40;
constexpr int bitsPerPixel = 24;
constexpr int defaultDotsPerMeter = 2834; // 72 dpi, where the image has no resolution

template <typename T> void put(unsigned char* at, T value)
{
    qToLittleEndian(value, at);
}

std::array<unsigned char, fileHeaderBytes + infoHeaderBytes> headerOf(const QImage& image, int width, int height,
                                                                      std::uint32_t rowBytes)
{
    std::array<unsigned char, fileHeaderBytes + infoHeaderBytes> header{};
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(height);
    unsigned char* h = header.data();
    h[0] = 'B';
    h[1] = 'M';
    put<std::uint32_t>(h + 2, fileHeaderBytes + infoHeaderBytes + pixelBytes);
    put<std::uint32_t>(h + 10, fileHeaderBytes + infoHeaderBytes); // the pixels' offset
    unsigned char* info = h + fileHeaderBytes;
    put<std::uint32_t>(info, infoHeaderBytes);
    put<std::int32_t>(info + 4, width);
    put<std::int32_t>(info + 8, height); // positive: bottom-up
    put<std::uint16_t>(info + 12, 1);    // planes
    put<std::uint16_t>(info + 14, bitsPerPixel);
    put<std::uint32_t>(info + 16, 0); // no compression
    put<std::uint32_t>(info + 20, pixelBytes);
    put<std::int32_t>(info + 24, image.dotsPerMeterX() ? image.dotsPerMeterX() : defaultDotsPerMeter);
    put<std::int32_t>(info + 28, image.dotsPerMeterY() ? image.dotsPerMeterY() : defaultDotsPerMeter);
    return header; // no colour table: colours used and important are 0
}

// Row y of image, its first width pixels as Format_RGB32.
const QRgb* rgbRow(const QImage& image, int y, int width, QImage& converted)
{
    if (image.format() == QImage::Format_RGB32)
        return reinterpret_cast<const QRgb*>(image.constScanLine(y));
    converted = image.copy(0, y, width, 1).convertToFormat(QImage::Format_RGB32);
    return converted.isNull() ? nullptr : reinterpret_cast<const QRgb*>(converted.constScanLine(0));
}

} // namespace

WriteResult writeBmpImage(const QImage& image, int width, int height, QIODevice& sink) noexcept
{
    if (image.isNull() || width <= 0 || height <= 0 || width > image.width() || height > image.height())
        return WriteResult::failure(WriteError::InvalidSize, {});
    const QString outOfMemory = QString::fromLocal8Bit(std::strerror(ENOMEM));
    try {
        const auto rowBytes = static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
        const auto header = headerOf(image, width, height, rowBytes);
        if (sink.write(reinterpret_cast<const char*>(header.data()), header.size()) != qint64(header.size()))
            return WriteResult::failure(WriteError::WriteFailed, sink.errorString());
        std::vector<char> row(rowBytes, 0); // the padding stays 0
        QImage converted;
        for (int y = height - 1; y >= 0; --y) {
            const QRgb* pixels = rgbRow(image, y, width, converted);
            if (!pixels)
                return WriteResult::failure(WriteError::WriteFailed, outOfMemory);
            char* out = row.data();
            for (int x = 0; x < width; ++x) {
                *out++ = static_cast<char>(qBlue(pixels[x]));
                *out++ = static_cast<char>(qGreen(pixels[x]));
                *out++ = static_cast<char>(qRed(pixels[x]));
            }
            if (sink.write(row.data(), rowBytes) != qint64(rowBytes))
                return WriteResult::failure(WriteError::WriteFailed, sink.errorString());
        }
        return WriteResult::success();
    } catch (const std::exception&) {
        return WriteResult::failure(WriteError::WriteFailed, outOfMemory);
    }
}

} // namespace sorvel
