#include "image/PictureLoader.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <mutex>

namespace sorvel {

namespace {

struct CachedPicture {
    QString path;
    PictureKind kind = PictureKind::Png;
    qint64 size = -1;
    QDateTime modified;
    QImage image;
};

QList<QByteArray> formatsOf(PictureKind kind)
{
    if (kind == PictureKind::Png)
        return {QByteArrayLiteral("png")};
    return {QByteArrayLiteral("bmp"), QByteArrayLiteral("jpeg"), QByteArrayLiteral("gif")};
}

QImage decode(QFile& file, PictureKind kind)
{
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(decoderAllocationLimitMB); });

    const QByteArray detected = QImageReader::imageFormat(&file);
    if (!formatsOf(kind).contains(detected))
        return {};
    QImageReader reader(&file, detected);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > maxPictureSide || size.height() > maxPictureSide
        || static_cast<long long>(size.width()) * size.height() > maxPicturePixels)
        return {};
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.size() != size)
        return {};
    const QImage::Format target = image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != target)
        image = image.convertToFormat(target);
    return image;
}

} // namespace

QImage readPictureFile(const QString& path, PictureKind kind)
{
    thread_local CachedPicture cache;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || info.size() <= 0 || info.size() > maxPictureFileBytes)
        return {};
    const QDateTime modified = info.lastModified();
    if (!cache.image.isNull() && cache.path == path && cache.kind == kind && cache.size == info.size()
        && cache.modified == modified)
        return cache.image;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    // The file may have been swapped for something else since it was looked at.
    if (file.size() != info.size())
        return {};
    QImage image = decode(file, kind);
    if (image.isNull())
        return {};
    cache = CachedPicture{path, kind, info.size(), modified, image};
    return image;
}

} // namespace sorvel
