#include "platform/GreyscaleCopy.h"

namespace sorvel {

std::optional<QImage> greyscaleCopy(const QImage& image)
{
    if (image.isNull() || image.format() != QImage::Format_RGB32)
        return std::nullopt;
    QImage grey(image.size(), QImage::Format_Grayscale8);
    if (grey.isNull())
        return std::nullopt;
    grey.setDotsPerMeterX(image.dotsPerMeterX());
    grey.setDotsPerMeterY(image.dotsPerMeterY());
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto* source = reinterpret_cast<const quint32*>(image.constScanLine(y));
        uchar* target = grey.scanLine(y);
        // 0xffRRGGBB: blue equals green and green equals red exactly when the low two bytes of
        // the pixel and of the pixel shifted by one byte agree.
        quint32 colour = 0;
        for (int x = 0; x < width; ++x) {
            const quint32 pixel = source[x];
            colour |= (pixel ^ (pixel >> 8)) & 0xffffu;
            target[x] = static_cast<uchar>(pixel);
        }
        if (colour != 0)
            return std::nullopt;
    }
    return grey;
}

} // namespace sorvel
