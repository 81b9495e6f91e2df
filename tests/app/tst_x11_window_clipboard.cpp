// The copy button on a real X11 clipboard: another program pastes the canvas while the window
// runs and after it has closed, until yet another program takes the clipboard.
#include "app/SorvelMainTestView.h"
#include "output/ClipboardKeeper.h"
#include "support/FakeFontList.h"
#include "support/X11Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace sorvel;
using namespace sorvel::test;

class WindowClipboardTest : public QObject {
    Q_OBJECT
private slots:
    void copiedCanvasOutlivesTheWindow()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        HandOverResult handOver;
        SorvelMainDependencies dependencies = realDependencies();
        dependencies.fontList = std::make_unique<FakeFontList>(QStringList{defaultFontName});
        dependencies.keepClipboardImage = [&](const QImage& image) {
            handOver = handOverClipboard(image, QStringLiteral(SORVEL_BINARY_DIR "/") + clipboardKeeperName);
        };
        dependencies.endProgram = [] {};
        SorvelMain window(std::move(dependencies));
        window.start();
        const SorvelMainTestView view(window);
        view.textBox()->setPlainText(QStringLiteral("クリップボード\nclipboard"));
        QTest::mouseClick(view.copyButton(), Qt::LeftButton);
        const QImage canvas = window.canvas().image();
        QCOMPARE(pasted("image/png"), canvas);

        view.textBox()->setPlainText(QStringLiteral("changed after the copy"));
        window.close();
        QVERIFY2(handOver.started(), qPrintable(handOver.detail));
        QTRY_VERIFY_WITH_TIMEOUT(!QGuiApplication::clipboard()->ownsClipboard(), 10000);
        QCOMPARE(pasted("image/png"), canvas);

        // Another program takes the clipboard: the keeper ends. xclip stays in the foreground
        // (-quiet), so that it can be ended here rather than outliving the test.
        QProcess other;
        other.start(QStringLiteral("xclip"), {"-quiet", "-selection", "clipboard", "-i"});
        QVERIFY(other.waitForStarted());
        other.write("text");
        other.closeWriteChannel();
        QTRY_VERIFY_WITH_TIMEOUT(processEnded(handOver.keeperPid), 10000);
        other.kill();
        other.waitForFinished();
    }
};

QTEST_MAIN(WindowClipboardTest)
#include "tst_x11_window_clipboard.moc"
