// Copying the canvas image: clear first, then the whole image; a failing step ends the action.
#include "output/CopyImage.h"
#include "support/FakeClipboard.h"

#include <QtTest>

using namespace sorvel;

class TestCopyImage : public QObject {
    Q_OBJECT
private slots:
    void copy()
    {
        QImage canvas(2400, 90, QImage::Format_RGB32); // far wider than the preview shows
        canvas.fill(qRgb(10, 200, 99));
        using Status = CopyResult::Status; // placed or not, the clipboard is cleared first
        const struct {
            bool failClear, failSetImage, nullCanvas;
            Status status;
            QStringList calls;
        } rows[] = {
            {false, false, false, Status::Copied, {"clear", "setImage"}},
            {true, false, false, Status::ClearFailed, {"clear"}},
            {false, true, false, Status::PlaceFailed, {"clear", "setImage"}},
            {false, false, true, Status::NoImage, {"clear"}},
        };
        for (const auto& row : rows) {
            FakeClipboard clipboard;
            clipboard.failClear = row.failClear;
            clipboard.failSetImage = row.failSetImage;
            const CopyResult result = copyImageToClipboard(clipboard, row.nullCanvas ? QImage() : canvas);
            QCOMPARE(result.status, row.status);
            QCOMPARE(result.message().isEmpty(), result.ok());
            QCOMPARE(clipboard.calls, row.calls);
            QCOMPARE(clipboard.image, result.ok() ? canvas : QImage());
        }
    }
};

QTEST_MAIN(TestCopyImage)
#include "tst_copyimage.moc"
