#include "output/PictureDrag.h"

#include "image/FileReplacement.h"
#include "image/ImageWriters.h"
#include "output/ProposedFileName.h"

#include <QDir>
#include <QMimeData>
#include <QUrl>

namespace sorvel {

namespace {

const QString pngType = QStringLiteral("image/png");
const QString nameWithoutText = QStringLiteral("sorvel");

} // namespace

std::unique_ptr<QMimeData> pictureDragData(const QImage& canvas, int width, int height, const QString& folder,
                                           const QString& text)
{
    QByteArray png;
    if (!encodePng(canvas, width, height, png).ok())
        return nullptr;
    auto data = std::make_unique<QMimeData>();
    data->setData(pngType, png);
    if (folder.isEmpty())
        return data;
    QString name = proposedFileName(text);
    if (name.isEmpty())
        name = nameWithoutText;
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (replaceFileWith(png, path).ok())
        data->setUrls({QUrl::fromLocalFile(path)});
    return data;
}

} // namespace sorvel
