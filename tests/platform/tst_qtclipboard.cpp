// The Qt clipboard behind the Clipboard interface, on the in-process clipboard of the
// offscreen platform (the X11 clipboard is covered by tests/output/tst_x11_clipboard).
#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QtTest>

using namespace sorvel;

class TestQtClipboard : public QObject {
    Q_OBJECT
private slots:
    void placesACopyAndClears()
    {
        QImage image(17, 9, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 15, y * 28, 77));
        const QImage original = image;
        QtClipboard clipboard;
        QVERIFY(clipboard.setImage(image));
        image.fill(Qt::red);   // the canvas draws again: the clipboard keeps what was placed
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data != nullptr);
        QVERIFY(data->hasImage());
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), original);

        QVERIFY(!clipboard.setImage(QImage()));
        QVERIFY(clipboard.clear());
        QVERIFY(QGuiApplication::clipboard()->image().isNull());
    }
};

QTEST_MAIN(TestQtClipboard)
#include "tst_qtclipboard.moc"
