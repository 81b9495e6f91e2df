#include "render/ReadPngIntoHolder.h"

#include "platform/ColorValue.h"
#include "render/PictureHolder.h"
#include "image/PictureLoader.h"

#include <QPainter>

namespace sorvel {

bool readPngIntoHolder(const QString& path, PictureHolder& holder) noexcept
{
    const QImage png = readPictureFile(path, PictureKind::Png);
    if (png.isNull())
        return false;
    // The holder takes the picture's size; transparent pixels show its background colour.
    QImage surface(png.size(), QImage::Format_RGB32);
    if (surface.isNull())
        return false;
    surface.fill(toQColor(systemButtonFace));
    if (png.hasAlphaChannel()) {
        QPainter painter(&surface);
        painter.drawImage(0, 0, png);
    } else {
        surface = png;
    }
    holder.surface() = surface;
    return true;
}

} // namespace sorvel
