// The format table: what a name's ending means to a save, to a background picture and to the
// readers, and that each row's writer gives the bytes it claims.
#include "image/ImageFormatTable.h"

#include <QBuffer>
#include <QImageReader>
#include <QtTest>

using namespace sorvel;

Q_DECLARE_METATYPE(sorvel::ImageFormat)

class TestImageFormatTable : public QObject {
    Q_OBJECT

private slots:
    void endingOfPath_data();
    void endingOfPath();
    void writerGivesItsFormat_data();
    void writerGivesItsFormat();
    void readersAndDialogPatterns();
    void commandEndings_data();
    void commandEndings();
};

void TestImageFormatTable::endingOfPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<ImageFormat>("format");
    QTest::addColumn<int>("backgroundReader"); // -1: no background
    QTest::addColumn<bool>("keepsAlpha");

    const int none = -1;
    const int bitmapOrJpeg = int(PictureKind::BitmapOrJpeg);
    const int png = int(PictureKind::Png);
    QTest::newRow("png") << "a.png" << ImageFormat::Png << png << true;
    QTest::newRow("capitals") << "/tmp/A.PNG" << ImageFormat::Png << png << true;
    QTest::newRow("mixed case jpg") << "photo.JpG" << ImageFormat::Jpeg << bitmapOrJpeg << false;
    QTest::newRow("bmp") << "x.bmp" << ImageFormat::Bitmap << bitmapOrJpeg << false;
    QTest::newRow("gif writes a bitmap, is no background") << "x.gif" << ImageFormat::Bitmap << none << false;
    QTest::newRow("four characters only") << ".png" << ImageFormat::Png << png << true;
    QTest::newRow("no dot") << "xpng" << ImageFormat::None << none << false;
    QTest::newRow("shorter than an ending") << "png" << ImageFormat::None << none << false;
    QTest::newRow("jpeg is not jpg") << "x.jpeg" << ImageFormat::None << none << false;
    QTest::newRow("trailing blank") << "x.png " << ImageFormat::None << none << false;
    QTest::newRow("ending of a folder name") << "a.png/b" << ImageFormat::None << none << false;
    QTest::newRow("empty") << "" << ImageFormat::None << none << false;
    QTest::newRow("Japanese name") << "画像.Bmp" << ImageFormat::Bitmap << bitmapOrJpeg << false;
}

void TestImageFormatTable::endingOfPath()
{
    QFETCH(QString, path);
    QFETCH(ImageFormat, format);
    QFETCH(int, backgroundReader);
    QFETCH(bool, keepsAlpha);
    QCOMPARE(imageFormatForPath(path), format);
    QCOMPARE(imageFormatRowFor(path) != nullptr, format != ImageFormat::None);
    const std::optional<PictureKind> reader = backgroundReaderFor(path);
    QCOMPARE(reader ? int(*reader) : -1, backgroundReader);
    QCOMPARE(formatKeepsAlpha(format), keepsAlpha);
}

// sorvel-render also takes ".jpeg" (any case) for JPEG, to write and as a background; every
// other ending means to it what it means to the window.
void TestImageFormatTable::commandEndings_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<ImageFormat>("format");
    QTest::addColumn<bool>("background");
    QTest::newRow("jpeg") << "x.jpeg" << ImageFormat::Jpeg << true;
    QTest::newRow("JPEG in capitals") << "/tmp/X.JPEG" << ImageFormat::Jpeg << true;
    QTest::newRow("Japanese name") << "写真.Jpeg" << ImageFormat::Jpeg << true;
    QTest::newRow("jpg") << "x.jpg" << ImageFormat::Jpeg << true;
    QTest::newRow("no dot") << "xjpeg" << ImageFormat::None << false;
    QTest::newRow("folder ending") << "a.jpeg/b" << ImageFormat::None << false;
    QTest::newRow("jpe") << "x.jpe" << ImageFormat::None << false;
    QTest::newRow("gif stays no background") << "x.gif" << ImageFormat::Bitmap << false;
}

void TestImageFormatTable::commandEndings()
{
    QFETCH(QString, path);
    QFETCH(ImageFormat, format);
    QFETCH(bool, background);
    QCOMPARE(imageFormatForPath(path, NameEndings::Command), format);
    QCOMPARE(backgroundReaderFor(path, NameEndings::Command).has_value(), background);
    if (background)
        QCOMPARE(*backgroundReaderFor(path, NameEndings::Command), PictureKind::BitmapOrJpeg);
    if (path.endsWith(QStringLiteral("jpeg"), Qt::CaseInsensitive)) { // the window keeps to ".jpg"
        QCOMPARE(imageFormatForPath(path), ImageFormat::None);
        QVERIFY(!backgroundReaderFor(path));
    }
}

void TestImageFormatTable::writerGivesItsFormat_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow(".bmp") << ".bmp" << QByteArray("bmp");
    QTest::newRow(".gif") << ".gif" << QByteArray("bmp");
    QTest::newRow(".jpg") << ".jpg" << QByteArray("jpeg");
    QTest::newRow(".png") << ".png" << QByteArray("png");
}

// Each row's writer encodes the top-left region in the format a file of that ending gets.
void TestImageFormatTable::writerGivesItsFormat()
{
    QFETCH(QString, ending);
    QFETCH(QByteArray, written);
    const ImageFormatRow* row = imageFormatRowFor(QStringLiteral("picture") + ending);
    QVERIFY(row);
    QVERIFY(imageFormatRowOf(row->format)->encode == row->encode);

    QImage canvas(20, 10, QImage::Format_RGB32);
    canvas.fill(qRgb(30, 60, 90));
    QByteArray bytes;
    QVERIFY(row->encode(canvas, 7, 5, 90, bytes).ok());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QCOMPARE(QImageReader::imageFormat(&buffer), written);
    QCOMPARE(QImage::fromData(bytes).size(), QSize(7, 5));
    QVERIFY(!row->encode(canvas, 21, 5, 90, bytes).ok());
}

void TestImageFormatTable::readersAndDialogPatterns()
{
    QCOMPARE(contentNamesReadBy(PictureKind::Png), QList<QByteArray>{"png"});
    QList<QByteArray> pictureLoader = contentNamesReadBy(PictureKind::BitmapOrJpeg);
    std::sort(pictureLoader.begin(), pictureLoader.end());
    QCOMPARE(pictureLoader, (QList<QByteArray>{"bmp", "gif", "jpeg"}));
    QCOMPARE(backgroundNamePatterns(), QStringLiteral("*.bmp;*.jpg;*.png"));
    QCOMPARE(imageFormatRowOf(ImageFormat::None), nullptr);
}

QTEST_GUILESS_MAIN(TestImageFormatTable)
#include "tst_imageformattable.moc"
