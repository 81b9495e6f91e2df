// Copying the canvas image: clear first, then the whole image; a failing step ends the action.
#include "output/ClipboardKeeper.h"
#include "output/CopyImage.h"
#include "support/FakeClipboard.h"

#include <QtTest>

using namespace sorvel;

Q_DECLARE_METATYPE(sorvel::CopyResult::Status)

namespace {

QImage makeCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, 99));
    return image;
}

} // namespace

class TestCopyImage : public QObject {
    Q_OBJECT
private slots:
    void copiesWholeCanvas()
    {
        FakeClipboard clipboard;
        // Far wider than the preview shows: the whole image is copied all the same.
        const QImage canvas = makeCanvas(2400, 90);
        const CopyResult result = copyImageToClipboard(clipboard, canvas);
        QVERIFY(result.ok());
        QVERIFY(result.message().isEmpty());
        QCOMPARE(clipboard.calls, (QStringList{"clear", "setImage"}));
        QCOMPARE(clipboard.image, canvas);
    }

    void copyKeepsPictureOfThisMoment()
    {
        FakeClipboard clipboard;
        QImage canvas = makeCanvas(20, 10);
        const QImage before = canvas;
        QVERIFY(copyImageToClipboard(clipboard, canvas).ok());
        canvas.fill(Qt::black);   // the next rendering
        QCOMPARE(clipboard.image, before);
    }

    void failingStepEndsAction_data()
    {
        QTest::addColumn<bool>("failClear");
        QTest::addColumn<bool>("failSetImage");
        QTest::addColumn<bool>("nullCanvas");
        QTest::addColumn<CopyResult::Status>("status");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("clear fails") << true << false << false << CopyResult::Status::ClearFailed
                                     << QStringList{"clear"};
        QTest::newRow("placing fails") << false << true << false << CopyResult::Status::PlaceFailed
                                       << QStringList{"clear", "setImage"};
        QTest::newRow("no image") << false << false << true << CopyResult::Status::NoImage
                                  << QStringList{"clear"};
    }
    void failingStepEndsAction()
    {
        QFETCH(bool, failClear);
        QFETCH(bool, failSetImage);
        QFETCH(bool, nullCanvas);
        QFETCH(CopyResult::Status, status);
        QFETCH(QStringList, calls);
        FakeClipboard clipboard;
        clipboard.failClear = failClear;
        clipboard.failSetImage = failSetImage;
        const CopyResult result =
            copyImageToClipboard(clipboard, nullCanvas ? QImage() : makeCanvas(5, 5));
        QCOMPARE(result.status, status);
        QVERIFY(!result.ok());
        QVERIFY(!result.message().isEmpty());
        QCOMPARE(clipboard.calls, calls);
        QVERIFY(!clipboard.holdsImage);
    }

    void keeperIsOnlyForX11()
    {
        // The keeper serves the X11 clipboard only; on any other platform nothing is started.
        const HandOverResult result = handOverClipboard(makeCanvas(4, 4));
        QCOMPARE(result.status, HandOverResult::Status::NotNeeded);
        QVERIFY(!result.started());
    }
};

QTEST_MAIN(TestCopyImage)
#include "tst_copyimage.moc"
