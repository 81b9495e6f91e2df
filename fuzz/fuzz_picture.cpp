// Loads arbitrary bytes as a background picture through the project's loader and its limits:
// decoded from memory as both kinds of picture, then from files ending in .bmp and .png into
// the holder (BMP/JPEG loader and PNG reader) and through the renderer, which tiles it behind
// a short text. A file decodes to what the same bytes decode to in memory. Each input uses new
// file names, so the loader's cache of the last file never answers for an earlier input; the
// files live in TMPDIR, which scripts/fuzz puts in memory where it can.

#include "FuzzSupport.h"

#include "render/CanvasSurface.h"
#include "render/ReadPngIntoHolder.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "image/PictureLoader.h"
#include "platform/Failure.h"
#include "render/RenderTextImage.h"

#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <cstddef>
#include <cstdint>

using namespace sorvel;
using namespace sorvel::fuzzing;

namespace {

QTemporaryDir& workDir()
{
    static QTemporaryDir dir;
    return dir;
}

void writeFile(const QString& path, const std::uint8_t* data, std::size_t size)
{
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the work file can be created");
    require(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) == static_cast<qint64>(size),
            "the work file can be written");
}

// A picture the loader hands out is empty or within its limits, in one of its two formats.
void requirePictureWithinLimits(const QImage& picture)
{
    if (picture.isNull())
        return;
    require(picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32_Premultiplied,
            "a loaded picture in RGB32 or premultiplied ARGB32");
    require(picture.width() > 0 && picture.width() <= maxPictureSide, "picture width within 1..maxPictureSide");
    require(picture.height() > 0 && picture.height() <= maxPictureSide, "picture height within 1..maxPictureSide");
    require(static_cast<long long>(picture.width()) * picture.height() <= maxPicturePixels,
            "picture within maxPicturePixels");
}

void loadIntoHolder(const QString& path)
{
    PictureHolder holder;
    try {
        holder.loadPicture(path);
    } catch (const Failure& error) {
        require(error.kind() == FailureKind::UnreadableFile, "an unreadable picture fails as an unreadable file");
        require(holder.picture().isNull(), "a failed load leaves the holder without a picture");
        require(holder.scaleWidth() == PictureHolder::designWidth &&
                    holder.scaleHeight() == PictureHolder::designHeight,
                "a failed load leaves the holder's size");
        return;
    }
    requirePictureWithinLimits(holder.picture());
    require(holder.picture().format() == QImage::Format_RGB32, "the holder keeps its picture in RGB32");
    require(holder.scaleWidth() == holder.picture().width() && holder.scaleHeight() == holder.picture().height(),
            "the holder takes the picture's size");
}

void readPngIntoNewHolder(const QString& path)
{
    PictureHolder holder;
    if (!readPngIntoHolder(path, holder)) {
        require(holder.scaleWidth() == PictureHolder::designWidth &&
                    holder.scaleHeight() == PictureHolder::designHeight,
                "an unread PNG leaves the holder's surface");
        return;
    }
    requirePictureWithinLimits(holder.surface());
    require(holder.surface().format() == QImage::Format_RGB32, "the PNG reader draws an RGB32 surface");
}

void renderOver(const QString& path)
{
    TextImageSettings settings;
    settings.Text = QStringLiteral("Sorvel\r\n背景");
    settings.backgroundPicture = path;
    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    RenderTextImage(settings, {canvas, label, holder});
    requireCanvasWithinLimits(canvas);
    requirePictureWithinLimits(holder.picture());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startOffscreenApplication();
    require(workDir().isValid(), "a temporary work folder");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QImage bitmap = decodePicture(bytes, PictureKind::BitmapOrJpeg);
    const QImage png = decodePicture(bytes, PictureKind::Png);
    requirePictureWithinLimits(bitmap);
    requirePictureWithinLimits(png);

    static quint64 run = 0;
    const QString base = workDir().filePath(QString::number(run++));
    const QString bmpPath = base + QStringLiteral(".bmp");
    const QString pngPath = base + QStringLiteral(".png");
    writeFile(bmpPath, data, size);
    writeFile(pngPath, data, size);

    require(readPictureFile(bmpPath, PictureKind::BitmapOrJpeg) == bitmap, "a BMP/JPEG file decodes as its bytes do");
    require(readPictureFile(pngPath, PictureKind::Png) == png, "a PNG file decodes as its bytes do");
    loadIntoHolder(bmpPath);
    readPngIntoNewHolder(pngPath);
    renderOver(bmpPath);
    renderOver(pngPath);

    QFile::remove(bmpPath);
    QFile::remove(pngPath);
    return 0;
}
