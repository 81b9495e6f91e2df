// sorvel-icons: writes the window's icon as the installed icon theme files, at build time.
//
//   sorvel-icons OUTDIR NAME
//
// makes OUTDIR/scalable/apps/NAME.svg and OUTDIR/SxS/apps/NAME.png for every size S of the
// freedesktop hicolor theme that Sorvel installs, all drawn from the shapes the window draws.

#include "app/Artwork.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>

#include <array>
#include <cstdio>

namespace {

constexpr std::array sizes{16, 24, 32, 48, 64, 128, 256};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
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
        writeFile(out.filePath(QStringLiteral("scalable/apps/%1.svg").arg(name)), sorvel::artwork::iconSvg());
    for (const int size : sizes) {
        const QString path = out.filePath(QStringLiteral("%1x%1/apps/%2.png").arg(size).arg(name));
        written =
            written && QDir().mkpath(QFileInfo(path).path()) && sorvel::artwork::iconPicture(size).save(path, "png");
    }
    if (!written) {
        std::fprintf(stderr, "sorvel-icons: cannot write the icons into %s\n", qPrintable(out.path()));
        return 1;
    }
    return 0;
}
