#include "image/ImageFormatTable.h"

#include "image/ImageWriters.h"

namespace sorvel {

namespace {

constexpr qsizetype keyLength = 4;

WriteResult encodeBmpFormat(const QImage& canvas, int width, int height, std::uint8_t, QByteArray& bytes) noexcept
{
    return encodeBmp(canvas, width, height, bytes);
}

WriteResult encodePngFormat(const QImage& canvas, int width, int height, std::uint8_t, QByteArray& bytes) noexcept
{
    return encodePng(canvas, width, height, bytes);
}

WriteResult writeBmpFormat(const QImage& canvas, int width, int height, std::uint8_t, QIODevice& sink) noexcept
{
    return writeBmp(canvas, width, height, sink);
}

WriteResult writePngFormat(const QImage& canvas, int width, int height, std::uint8_t, QIODevice& sink) noexcept
{
    return writePng(canvas, width, height, sink);
}

// ".gif" writes the same Windows bitmap as ".bmp", and is no background picture; GIF contents
// under a ".bmp" or ".jpg" name are read by the picture loader.
constexpr ImageFormatRow rows[] = {
    {".bmp", ImageFormat::Bitmap, encodeBmpFormat, writeBmpFormat, "bmp", PictureKind::BitmapOrJpeg, true, false,
     nullptr},
    {".gif", ImageFormat::Bitmap, encodeBmpFormat, writeBmpFormat, "gif", PictureKind::BitmapOrJpeg, false, false,
     nullptr},
    {".jpg", ImageFormat::Jpeg, encodeJpeg, writeJpeg, "jpeg", PictureKind::BitmapOrJpeg, true, false, ".jpeg"},
    {".png", ImageFormat::Png, encodePngFormat, writePngFormat, "png", PictureKind::Png, true, true, nullptr},
};

} // namespace

std::span<const ImageFormatRow> imageFormatRows()
{
    return rows;
}

QString formatKey(const QString& path)
{
    return path.right(keyLength).toLower();
}

const ImageFormatRow* imageFormatRowFor(const QString& path, NameEndings endings)
{
    const QString key = formatKey(path);
    for (const ImageFormatRow& row : rows) {
        if (key == QLatin1String(row.ending))
            return &row;
    }
    if (endings == NameEndings::Command) {
        for (const ImageFormatRow& row : rows) {
            if (row.longEnding && path.endsWith(QLatin1String(row.longEnding), Qt::CaseInsensitive))
                return &row;
        }
    }
    return nullptr;
}

const ImageFormatRow* imageFormatRowOf(ImageFormat format)
{
    for (const ImageFormatRow& row : rows) {
        if (row.format == format)
            return &row;
    }
    return nullptr;
}

ImageFormat imageFormatForPath(const QString& path, NameEndings endings)
{
    const ImageFormatRow* row = imageFormatRowFor(path, endings);
    return row ? row->format : ImageFormat::None;
}

std::optional<PictureKind> backgroundReaderFor(const QString& path, NameEndings endings)
{
    const ImageFormatRow* row = imageFormatRowFor(path, endings);
    if (!row || !row->background)
        return std::nullopt;
    return row->reader;
}

QString backgroundNamePatterns()
{
    QStringList patterns;
    for (const ImageFormatRow& row : rows) {
        if (row.background)
            patterns << u'*' + QLatin1String(row.ending);
    }
    return patterns.join(u';');
}

bool formatKeepsAlpha(ImageFormat format)
{
    const ImageFormatRow* row = imageFormatRowOf(format);
    return row && row->keepsAlpha;
}

QList<QByteArray> contentNamesReadBy(PictureKind reader)
{
    QList<QByteArray> names;
    for (const ImageFormatRow& row : rows) {
        if (row.reader == reader)
            names << QByteArray(row.contentName);
    }
    return names;
}

} // namespace sorvel
