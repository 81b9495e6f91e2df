#pragma once
// Runs the built sorvel-render as a separate process: arguments, standard input and
// environment in; exit status, standard output and standard error out.

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QtTest>

#include <functional>

namespace sorvel::test {

inline QString renderCommandPath()
{
    return QStringLiteral(SORVEL_BINARY_DIR "/sorvel-render");
}

struct RenderCommandRun {
    int exitCode = -1;   // -1 also when it did not start, ended by a signal or ran over 60 s
    QByteArray standardOutput;
    QByteArray standardError;

    QStringList errorLines() const { return QString::fromUtf8(standardError).split(u'\n', Qt::SkipEmptyParts); }
};

// input goes to its standard input, which is then closed; childSetup runs in the new process
// just before the program starts.
inline RenderCommandRun runRenderCommand(const QStringList& arguments, const QByteArray& input = {},
                                         const QProcessEnvironment& environment =
                                             QProcessEnvironment::systemEnvironment(),
                                         const std::function<void()>& childSetup = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (childSetup)
        process.setChildProcessModifier(childSetup);
    process.start(renderCommandPath(), arguments);
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

// The picture of a written file or of PNG bytes as the window's canvas holds it.
inline QImage canvasImageOf(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

inline QImage canvasImageOf(const QByteArray& png)
{
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

// The names in a folder, to see that a failure leaves nothing behind.
inline QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace sorvel::test
