#include "render/PictureHolder.h"

#include "platform/ColorValue.h"
#include "image/PictureLoader.h"
#include "platform/Failure.h"

namespace sorvel {

PictureHolder::PictureHolder() : m_surface(designWidth, designHeight, QImage::Format_RGB32)
{
    m_surface.fill(toQColor(systemButtonFace));
}

void PictureHolder::loadPicture(const QString& path)
{
    QImage picture = readPictureFile(path, PictureKind::BitmapOrJpeg);
    if (picture.isNull())
        fail(FailureKind::UnreadableFile);
    if (picture.format() != QImage::Format_RGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    m_picture = picture;
    m_surface = picture;
}

void PictureHolder::clearPicture()
{
    m_picture = QImage();
    m_surface.fill(toQColor(systemButtonFace));
}

void PictureHolder::takeSurfaceAsPicture()
{
    m_picture = m_surface;
}

} // namespace sorvel
