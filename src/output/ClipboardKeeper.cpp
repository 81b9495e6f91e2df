#include "output/ClipboardKeeper.h"

#include "image/AlphaPngEncoder.h"
#include "image/ImageWriters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryFile>

#ifndef SORVEL_KEEPER_DIR_FROM_BIN
#define SORVEL_KEEPER_DIR_FROM_BIN "../libexec/sorvel"
#endif

namespace sorvel {

namespace {

bool platformNeedsKeeper()
{
    return QGuiApplication::platformName() == u"xcb";
}

} // namespace

QString clipboardKeeperPath()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    // Installed: the keeper's folder relative to the program's (bin/ -> libexec/sorvel/).
    const QString installed =
        QDir::cleanPath(programDir.filePath(QStringLiteral(SORVEL_KEEPER_DIR_FROM_BIN))) + u'/' + clipboardKeeperName;
    if (QFileInfo(installed).isExecutable())
        return installed;
    // In the build folder the keeper is built next to the program.
    return programDir.filePath(clipboardKeeperName);
}

WriteResult writeClipboardKeeperInput(const QImage& image, QIODevice& file) noexcept
{
    if (image.hasAlphaChannel())
        return writeAlphaPngImage(image, image.width(), image.height(), file);
    return writePng(image, image.width(), image.height(), file);
}

HandOverResult handOverClipboard(const QImage& image)
{
    return handOverClipboard(image, clipboardKeeperPath());
}

HandOverResult handOverClipboard(const QImage& image, const QString& keeperProgram)
{
    using Status = HandOverResult::Status;
    if (!platformNeedsKeeper())
        return {Status::NotNeeded, 0, {}};
    if (image.isNull())
        return {Status::NoImage, 0, {}};
    const QFileInfo program(keeperProgram);
    if (!program.isFile() || !program.isExecutable())
        return {Status::KeeperMissing, 0, keeperProgram};

    // The image travels as a PNG on the keeper's standard input. The file is opened for the
    // keeper before startDetached() returns, so it can be removed at once.
    QTemporaryFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("sorvel-clipboard-XXXXXX.png")));
    if (!file.open())
        return {Status::Failed, 0, file.errorString()};
    if (const WriteResult written = writeClipboardKeeperInput(image, file); !written.ok())
        return {Status::Failed, 0, written.systemMessage};
    if (!file.flush())
        return {Status::Failed, 0, file.errorString()};

    QProcess keeper;
    keeper.setProgram(program.absoluteFilePath());
    keeper.setStandardInputFile(file.fileName());
    keeper.setWorkingDirectory(QDir::rootPath());
    qint64 pid = 0;
    if (!keeper.startDetached(&pid))
        return {Status::Failed, 0, keeper.errorString()};
    return {Status::Started, pid, {}};
}

} // namespace sorvel
