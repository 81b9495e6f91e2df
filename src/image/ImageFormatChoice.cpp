#include "image/ImageFormatChoice.h"

namespace sorvel {

namespace {

constexpr qsizetype keyLength = 4;

} // namespace

QString formatKey(const QString& path)
{
    return path.right(keyLength).toLower();
}

ImageFormat imageFormatForPath(const QString& path)
{
    const QString key = formatKey(path);
    if (key == u".bmp" || key == u".gif")
        return ImageFormat::Bitmap;
    if (key == u".jpg")
        return ImageFormat::Jpeg;
    if (key == u".png")
        return ImageFormat::Png;
    return ImageFormat::None;
}

} // namespace sorvel
