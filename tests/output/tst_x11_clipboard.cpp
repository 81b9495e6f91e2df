// The image on a real X11 clipboard: what another program reads when it pastes, and that the
// keeper goes on serving it after the program let go, until another program takes over.
#include "output/ClipboardKeeper.h"
#include "output/CopyImage.h"
#include "platform/QtClipboard.h"
#include "support/X11Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>

#include <sys/types.h>

#include <csignal>

using namespace sorvel;
using namespace sorvel::test;

namespace {

// A picture that no encoder shrinks much: megabytes of PNG when large.
QImage noise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = 7;
    for (int i = 0; i < width * height; ++i)
        image.setPixel(i % width, i / width, 0xff000000u | ((state = state * 1664525u + 1013904223u) >> 8));
    return image;
}

} // namespace

class TestX11Clipboard : public QObject {
    Q_OBJECT

    const QString m_keeper = QStringLiteral(SORVEL_BINARY_DIR "/") + clipboardKeeperName;
    qint64 m_keeperPid = 0;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty(),
                 "xclip is not installed (scripts/install-deps installs it)");
    }

    void copiedImageIsPastedAndKeptAfterHandOver()
    {
        // Megabytes of PNG travel in many pieces (the X11 INCR protocol).
        const QImage large = noise(1500, 800);
        QtClipboard clipboard;
        QVERIFY(copyImageToClipboard(clipboard, large).ok());
        QCOMPARE(pasted("image/png"), large);

        const QImage small = noise(70, 41);
        QVERIFY(copyImageToClipboard(clipboard, small).ok());
        QCOMPARE(pasted("image/bmp"), small);

        // The keeper takes the clipboard over and serves the image until another program takes it.
        const HandOverResult result = handOverClipboard(small, m_keeper);
        QVERIFY2(result.started() && result.keeperPid > 0, qPrintable(result.detail));
        m_keeperPid = result.keeperPid;
        QTRY_VERIFY_WITH_TIMEOUT(!QGuiApplication::clipboard()->ownsClipboard(), toolTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(pasted("image/png"), small, toolTimeoutMs);

        // xclip stays in the foreground (-quiet) and owns the clipboard until it loses it.
        QProcess otherOwner; // killed when it goes out of scope
        otherOwner.start(QStringLiteral("xclip"), {"-quiet", "-selection", "clipboard", "-i"});
        QVERIFY(otherOwner.waitForStarted(toolTimeoutMs) && otherOwner.write("other program's text") > 0);
        otherOwner.closeWriteChannel();
        QTRY_VERIFY_WITH_TIMEOUT(processEnded(m_keeperPid), toolTimeoutMs);
        QCOMPARE(xclip({"-selection", "clipboard", "-o"}), QByteArray("other program's text"));
    }

    void keeperEndsOnInputThatIsNoPicture()
    {
        QProcess keeper;
        keeper.start(m_keeper, {});
        QVERIFY(keeper.waitForStarted(toolTimeoutMs) && keeper.write("this is not a PNG") > 0);
        keeper.closeWriteChannel();
        QVERIFY(keeper.waitForFinished(toolTimeoutMs));
        QVERIFY(keeper.exitStatus() == QProcess::NormalExit && keeper.exitCode() != 0);
    }

    void cleanupTestCase()
    {
        if (m_keeperPid != 0 && !processEnded(m_keeperPid))
            ::kill(static_cast<pid_t>(m_keeperPid), SIGTERM);
    }
};

QTEST_MAIN(TestX11Clipboard)
#include "tst_x11_clipboard.moc"
