// Copying the canvas image: clear first, then the whole image; a failing step ends the action.
#include "output/ClipboardKeeper.h"
#include "output/CopyImage.h"
#include "support/FakeClipboard.h"

#include <QtTest>

using namespace sorvel;

Q_DECLARE_METATYPE(sorvel::CopyResult::Status)

class TestCopyImage : public QObject {
    Q_OBJECT
private slots:
    void copy_data()
    {
        QTest::addColumn<bool>("failClear");
        QTest::addColumn<bool>("failSetImage");
        QTest::addColumn<bool>("nullCanvas");
        QTest::addColumn<CopyResult::Status>("status");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("copied") << false << false << false << CopyResult::Status::Copied
                                << QStringList{"clear", "setImage"};
        QTest::newRow("clear fails") << true << false << false << CopyResult::Status::ClearFailed
                                     << QStringList{"clear"};
        QTest::newRow("placing fails") << false << true << false << CopyResult::Status::PlaceFailed
                                       << QStringList{"clear", "setImage"};
        QTest::newRow("no image") << false << false << true << CopyResult::Status::NoImage
                                  << QStringList{"clear"};
    }
    void copy()
    {
        QFETCH(bool, failClear);
        QFETCH(bool, failSetImage);
        QFETCH(bool, nullCanvas);
        QFETCH(CopyResult::Status, status);
        QFETCH(QStringList, calls);
        FakeClipboard clipboard;
        clipboard.failClear = failClear;
        clipboard.failSetImage = failSetImage;
        QImage canvas(2400, 90, QImage::Format_RGB32);   // far wider than the preview shows
        canvas.fill(qRgb(10, 200, 99));
        const CopyResult result = copyImageToClipboard(clipboard, nullCanvas ? QImage() : canvas);
        QCOMPARE(result.status, status);
        QCOMPARE(result.ok(), status == CopyResult::Status::Copied);
        QCOMPARE(result.message().isEmpty(), result.ok());
        QCOMPARE(clipboard.calls, calls);
        QCOMPARE(clipboard.holdsImage, result.ok());
        if (result.ok())
            QCOMPARE(clipboard.image, canvas);
    }

    void keeperIsOnlyForX11()
    {
        // The keeper serves the X11 clipboard only; on any other platform nothing is started.
        QImage canvas(4, 4, QImage::Format_RGB32);
        canvas.fill(Qt::red);
        const HandOverResult result = handOverClipboard(canvas);
        QCOMPARE(result.status, HandOverResult::Status::NotNeeded);
        QVERIFY(!result.started());
    }
};

QTEST_MAIN(TestCopyImage)
#include "tst_copyimage.moc"
