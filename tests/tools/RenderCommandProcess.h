#pragma once
// Runs the built sorvel-render as a separate process: arguments, standard input and
// environment in; exit status, standard output and standard error out.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QtTest>

#include <functional>

namespace sorvel::test {

struct RenderCommandRun {
    int exitCode = -1; // also when it did not start, ended by a signal or ran over 60 s
    QByteArray standardOutput;
    QByteArray standardError;

    QStringList errorLines() const { return QString::fromUtf8(standardError).split(u'\n', Qt::SkipEmptyParts); }
};

// childSetup runs in the new process just before the program starts.
inline RenderCommandRun
runRenderCommand(const QStringList& arguments, const QByteArray& input = {},
                 const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                 const std::function<void()>& childSetup = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (childSetup)
        process.setChildProcessModifier(childSetup);
    process.start(QStringLiteral(SORVEL_BINARY_DIR "/sorvel-render"), arguments);
    RenderCommandRun run;
    if (!process.waitForStarted())
        return run;
    process.write(input);
    process.closeWriteChannel();
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.standardOutput = process.readAllStandardOutput();
    run.standardError = process.readAllStandardError();
    return run;
}

// PNG bytes as the window's canvas holds the picture.
inline QImage canvasImageOf(const QByteArray& png)
{
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace sorvel::test
