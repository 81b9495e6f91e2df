#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace sorvel {

namespace {

QClipboard* systemClipboard()
{
    // QGuiApplication::clipboard() needs a QGuiApplication, not merely a QCoreApplication.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return nullptr;
    return QGuiApplication::clipboard();
}

} // namespace

bool QtClipboard::clear()
{
    QClipboard* clipboard = systemClipboard();
    if (clipboard == nullptr)
        return false;
    clipboard->clear(QClipboard::Clipboard);
    return true;
}

bool QtClipboard::setImage(const QImage& image)
{
    QClipboard* clipboard = systemClipboard();
    if (clipboard == nullptr || image.isNull())
        return false;
    auto* data = new QMimeData;
    data->setImageData(image);
    clipboard->setMimeData(data, QClipboard::Clipboard); // the clipboard owns data now
    // While the program owns the clipboard, Qt hands back the very object it was given; on
    // X11 this asks the server who owns the selection, so a refused ownership shows here.
    return clipboard->mimeData(QClipboard::Clipboard) == data;
}

bool QtClipboard::ownsContent() const
{
    const QClipboard* clipboard = systemClipboard();
    return clipboard != nullptr && clipboard->ownsClipboard();
}

} // namespace sorvel
