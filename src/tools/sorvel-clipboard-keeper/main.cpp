// sorvel-clipboard-keeper: keeps an image on the X11 clipboard after Sorvel has ended.
//
// Reads a PNG from standard input, takes the clipboard with it and serves it to every program
// that pastes, until another program takes the clipboard; then it ends. It ends at once when
// the input is not a picture or the clipboard cannot be taken, and it checks its ownership
// every few seconds, so it never stays on without owning the clipboard.

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QPointer>
#include <QTimer>

#include <cstdio>

namespace {

constexpr qint64 maxInputBytes = 1024LL * 1024 * 1024;
constexpr int decoderAllocationLimitMB = 1024;
constexpr int ownershipCheckMs = 2000;

enum ExitCode : int {
    Served = 0,   // served until another program took the clipboard
    BadInput = 2, // the input is no PNG picture (or too large)
    NotOwner = 3, // the clipboard could not be taken
};

QImage readImage()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return {};
    QByteArray data;
    char chunk[64 * 1024];
    for (qint64 got = input.read(chunk, sizeof chunk); got > 0; got = input.read(chunk, sizeof chunk)) {
        data.append(chunk, got);
        if (data.size() > maxInputBytes)
            return {};
    }
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QImageReader::setAllocationLimit(decoderAllocationLimitMB);
    return reader.read();
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setQuitOnLastWindowClosed(false);

    const QImage image = readImage();
    if (image.isNull())
        return BadInput;

    QClipboard* clipboard = QGuiApplication::clipboard();
    QPointer<QMimeData> data = new QMimeData;
    data->setImageData(image);
    clipboard->setMimeData(data, QClipboard::Clipboard);

    // Qt hands back our own object only while the X server names this program the owner; when
    // another program takes the clipboard, Qt deletes the object.
    const auto owning = [clipboard, &data] {
        return !data.isNull() && clipboard->ownsClipboard() &&
               clipboard->mimeData(QClipboard::Clipboard) == data.data();
    };
    if (!owning())
        return NotOwner;

    QObject::connect(clipboard, &QClipboard::changed, &app, [&](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !owning())
            QCoreApplication::quit();
    });
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &app, [&] {
        if (!owning())
            QCoreApplication::quit();
    });
    check.start(ownershipCheckMs);
    QGuiApplication::exec();
    return Served;
}
