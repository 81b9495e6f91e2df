#include "text/PaintDevice.h"

#include <QImage>

namespace sorvel {

QPaintDevice& paintDevice96()
{
    thread_local QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(dotsPerMeter96);
        image.setDotsPerMeterY(dotsPerMeter96);
        return image;
    }();
    return device;
}

} // namespace sorvel
