// sorvel-icons: writes the window's icon as the installed icon theme files, at build time.
//
//   sorvel-icons OUTDIR NAME
//
// makes OUTDIR/scalable/apps/NAME.svg and OUTDIR/SxS/apps/NAME.png for every size S of the
// freedesktop hicolor theme that Sorvel installs, all drawn from the shapes the window draws.
// Each file is written whole or not at all, through the program's one file writer.

#include "artwork/Artwork.h"
#include "image/FileReplacement.h"
#include "image/WriteFailureText.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <array>
#include <cstdio>

namespace {

constexpr std::array sizes{16, 24, 32, 48, 64, 128, 256};

QByteArray pngBytes(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "png"))
        return {};
    return bytes;
}

// Writes one icon file, making its folder first; says why on standard error when it cannot.
bool writeIcon(const QString& path, const QByteArray& bytes)
{
    if (bytes.isEmpty()) {
        std::fprintf(stderr, "sorvel-icons: cannot draw %s\n", qPrintable(path));
        return false;
    }
    if (!QDir().mkpath(QFileInfo(path).path())) {
        std::fprintf(stderr, "sorvel-icons: cannot make the folder of %s\n", qPrintable(path));
        return false;
    }
    const sorvel::WriteResult result = sorvel::replaceFileWith(bytes, path);
    if (!result.ok()) {
        std::fprintf(stderr, "sorvel-icons: %s: %s\n", qPrintable(path),
                     qPrintable(sorvel::writeFailureText(result, sorvel::FailureReader::Command)));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: sorvel-icons OUTDIR NAME\n", stderr);
        return 2;
    }
    const QDir out(arguments.at(1));
    const QString name = arguments.at(2);
    bool written =
        writeIcon(out.filePath(QStringLiteral("scalable/apps/%1.svg").arg(name)), sorvel::artwork::iconSvg());
    for (const int size : sizes) {
        const QString path = out.filePath(QStringLiteral("%1x%1/apps/%2.png").arg(size).arg(name));
        written = writeIcon(path, pngBytes(sorvel::artwork::iconPicture(size))) && written;
    }
    return written ? 0 : 1;
}
