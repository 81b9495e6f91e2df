#include "support/X11Clipboard.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <sys/types.h>

#include <cerrno>
#include <csignal>

namespace sorvel::test {

// Runs xclip to its end while this process keeps its event loop going, so that it can answer
// xclip's requests for the data it owns. Returns standard output, or a null array on failure.
QByteArray xclip(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xclip"), arguments);
    if (!process.waitForStarted(toolTimeoutMs))
        return {};
    QDeadlineTimer deadline(toolTimeoutMs);
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(10);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    QByteArray out = process.readAllStandardOutput();
    if (out.isNull())
        out = QByteArray("");
    return out;
}

QImage pasted(const char* mimeType)
{
    const QByteArray data = xclip({QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                                   QString::fromLatin1(mimeType), QStringLiteral("-o")});
    return QImage::fromData(data).convertToFormat(QImage::Format_RGB32);
}

// A process that has ended; a zombie counts as ended (no reaper may run in a container).
bool processEnded(qint64 pid)
{
    if (::kill(static_cast<pid_t>(pid), 0) != 0)
        return errno == ESRCH;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && close + 2 < line.size() && line.at(close + 2) == 'Z';
}

} // namespace sorvel::test
