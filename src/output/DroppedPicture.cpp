#include "output/DroppedPicture.h"

#include "image/ImageFormatTable.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace sorvel {

QString droppedBackgroundPicture(const QMimeData& data)
{
    if (!data.hasUrls())
        return {};
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    const QString path = urls.first().toLocalFile();
    if (!backgroundReaderFor(path) || QFileInfo(path).isDir())
        return {};
    return path;
}

} // namespace sorvel
