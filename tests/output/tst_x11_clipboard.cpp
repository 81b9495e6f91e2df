// The image on a real X11 clipboard: what another program reads when it pastes, and that the
// keeper goes on serving it after the program let go, until another program takes over.
#include "output/ClipboardKeeper.h"
#include "output/CopyImage.h"
#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>

#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace sorvel;

namespace {

constexpr int toolTimeoutMs = 10000;

QImage makeImage()
{
    QImage image(70, 41, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, (x / 5 + y / 5) % 3 == 0 ? qRgb(0, 0, 128)
                                                            : qRgb(x * 3, y * 6, 255 - x));
    return image;
}

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
    const QByteArray data = xclip({QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                   QStringLiteral("-t"), QString::fromLatin1(mimeType),
                                   QStringLiteral("-o")});
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

} // namespace

class TestX11Clipboard : public QObject {
    Q_OBJECT

    QImage m_image = makeImage();
    qint64 m_keeperPid = 0;
    QProcess m_otherOwner;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
            QFAIL("xclip is not installed (scripts/install-deps installs it)");
    }

    void copiedImageIsPastedAsPngAndBmp()
    {
        QtClipboard clipboard;
        QVERIFY(copyImageToClipboard(clipboard, m_image).ok());
        QVERIFY(QGuiApplication::clipboard()->ownsClipboard());

        const QByteArray targets = xclip({QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                          QStringLiteral("-t"), QStringLiteral("TARGETS"),
                                          QStringLiteral("-o")});
        QVERIFY2(targets.contains("image/png"), targets.constData());
        QVERIFY2(targets.contains("image/bmp"), targets.constData());

        QCOMPARE(pasted("image/png"), m_image);
        QCOMPARE(pasted("image/bmp"), m_image);
    }

    void largeImageIsPastedWhole()
    {
        // Megabytes of PNG travel in many pieces (the X11 INCR protocol).
        QImage large(1500, 800, QImage::Format_RGB32);
        quint32 state = 7;
        for (int y = 0; y < large.height(); ++y) {
            for (int x = 0; x < large.width(); ++x) {
                state = state * 1664525u + 1013904223u;
                large.setPixel(x, y, 0xff000000u | (state >> 8));
            }
        }
        QtClipboard clipboard;
        QVERIFY(copyImageToClipboard(clipboard, large).ok());
        QCOMPARE(pasted("image/png"), large);
        // The small image is the one handed to the keeper next.
        QVERIFY(copyImageToClipboard(clipboard, m_image).ok());
    }

    void keeperServesImageAfterHandOver()
    {
        const QString keeper = QStringLiteral(SORVEL_BINARY_DIR "/") + clipboardKeeperName;
        QVERIFY2(QFileInfo(keeper).isExecutable(), qPrintable(keeper));

        QElapsedTimer clock;
        clock.start();
        const HandOverResult result = handOverClipboard(m_image, keeper);
        QVERIFY2(result.started(), qPrintable(result.detail));
        QVERIFY(result.keeperPid > 0);
        m_keeperPid = result.keeperPid;

        // The keeper takes the clipboard from this process, which so gives it up.
        QTRY_VERIFY_WITH_TIMEOUT(!QGuiApplication::clipboard()->ownsClipboard(), toolTimeoutMs);
        QVERIFY(!processEnded(m_keeperPid));

        QImage served;
        QDeadlineTimer deadline(toolTimeoutMs);
        while (served != m_image && !deadline.hasExpired()) {
            served = pasted("image/png");
            if (served != m_image)
                QTest::qWait(100);
        }
        QCOMPARE(served, m_image);
    }

    void keeperEndsWhenAnotherProgramTakesClipboard()
    {
        if (m_keeperPid == 0)
            QSKIP("the keeper did not start");
        // xclip stays in the foreground (-quiet) and owns the clipboard until it loses it.
        m_otherOwner.start(QStringLiteral("xclip"),
                           {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                            QStringLiteral("clipboard"), QStringLiteral("-i")});
        QVERIFY(m_otherOwner.waitForStarted(toolTimeoutMs));
        m_otherOwner.write("other program's text");
        m_otherOwner.closeWriteChannel();

        QTRY_VERIFY_WITH_TIMEOUT(processEnded(m_keeperPid), toolTimeoutMs);
        QCOMPARE(xclip({QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")}),
                 QByteArray("other program's text"));
    }

    void keeperEndsOnInputThatIsNoPicture()
    {
        QProcess keeper;
        keeper.start(QStringLiteral(SORVEL_BINARY_DIR "/") + clipboardKeeperName, {});
        QVERIFY(keeper.waitForStarted(toolTimeoutMs));
        keeper.write("this is not a PNG");
        keeper.closeWriteChannel();
        QVERIFY(keeper.waitForFinished(toolTimeoutMs));
        QCOMPARE(keeper.exitStatus(), QProcess::NormalExit);
        QVERIFY(keeper.exitCode() != 0);
    }

    void cleanupTestCase()
    {
        if (m_keeperPid != 0 && !processEnded(m_keeperPid))
            ::kill(static_cast<pid_t>(m_keeperPid), SIGTERM);
        if (m_otherOwner.state() != QProcess::NotRunning) {
            m_otherOwner.kill();
            m_otherOwner.waitForFinished();
        }
    }
};

QTEST_MAIN(TestX11Clipboard)
#include "tst_x11_clipboard.moc"
