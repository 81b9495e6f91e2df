// What a drag of the picture carries, and which drops become a background picture.
#include "output/DroppedPicture.h"
#include "output/PictureDrag.h"

#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace sorvel;

class PictureDragDataTest : public QObject {
    Q_OBJECT
private slots:
    // Only the picture's part of the canvas; the file's name comes from the text, or is
    // "sorvel" when the text makes no name.
    void dragCarriesThePictureTwice_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("text") << QStringLiteral("見出し\r\n二行目") << QStringLiteral("見出し二行目.png");
        QTest::newRow("no text") << QString() << QStringLiteral("sorvel.png");
        QTest::newRow("only a slash") << QStringLiteral("/") << QStringLiteral("sorvel.png");
    }
    void dragCarriesThePictureTwice()
    {
        QFETCH(QString, text);
        QFETCH(QString, fileName);
        QTemporaryDir folder;
        QImage canvas(40, 30, QImage::Format_RGB32);
        canvas.fill(qRgb(10, 20, 30));
        canvas.setPixel(4, 2, qRgb(250, 250, 0));
        const std::unique_ptr<QMimeData> data = pictureDragData(canvas, 12, 5, folder.path(), text);
        QVERIFY(data);
        const QImage expected = canvas.copy(0, 0, 12, 5);
        QCOMPARE(QImage::fromData(data->data("image/png"), "PNG").convertToFormat(QImage::Format_RGB32), expected);
        QCOMPARE(data->urls().size(), 1);
        QCOMPARE(data->urls().first().toLocalFile(), folder.filePath(fileName));
        QCOMPARE(QImage(folder.filePath(fileName), "PNG").convertToFormat(QImage::Format_RGB32), expected);
    }

    // Without a folder it can write in, the picture still goes as image/png; without pixels
    // there is nothing to drag.
    void dragWithoutAFileOrAPicture()
    {
        QImage canvas(8, 8, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        const std::unique_ptr<QMimeData> data =
            pictureDragData(canvas, 8, 8, QStringLiteral("/proc/no such folder"), QStringLiteral("x"));
        QVERIFY(data && data->hasFormat("image/png"));
        QVERIFY(!data->hasUrls());
        QVERIFY(!pictureDragData(QImage(), 0, 0, QString(), QString()));
    }

    void droppedBackgroundPicture_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<bool>("taken");
        const auto file = [](const char* path) { return QUrl::fromLocalFile(QString::fromUtf8(path)); };
        QTest::newRow("png") << QList<QUrl>{file("/tmp/a.png")} << true;
        QTest::newRow("bmp in capitals") << QList<QUrl>{file("/tmp/A.BMP")} << true;
        QTest::newRow("jpg") << QList<QUrl>{file("/tmp/写真.jpg")} << true;
        QTest::newRow("jpeg, as the background dialog's list") << QList<QUrl>{file("/tmp/a.jpeg")} << false;
        QTest::newRow("gif") << QList<QUrl>{file("/tmp/a.gif")} << false;
        QTest::newRow("two files") << QList<QUrl>{file("/tmp/a.png"), file("/tmp/b.png")} << false;
        QTest::newRow("remote") << QList<QUrl>{QUrl(QStringLiteral("https://example.org/a.png"))} << false;
        QTest::newRow("none") << QList<QUrl>{} << false;
    }
    void droppedBackgroundPicture()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(bool, taken);
        QMimeData data;
        data.setUrls(urls);
        const QString path = sorvel::droppedBackgroundPicture(data);
        QCOMPARE(path, taken ? urls.first().toLocalFile() : QString());
    }
};

QTEST_MAIN(PictureDragDataTest)
#include "tst_picture_drag_data.moc"
