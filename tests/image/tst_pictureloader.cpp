// The picture loader: a file replaced at the same path is read anew, and 16-bit BMP pictures
// decode to full-range colours.
#include "image/PictureLoader.h"

#include <QBuffer>
#include <QFile>
#include <QThread>
#include <QtEndian>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace sorvel;

namespace {

QByteArray bmpBytes(const QColor& colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    image = image.convertToFormat(format);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "bmp");
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Gives path the access and modification times of model, to the nanosecond.
bool copyTimes(const QString& model, const QString& path)
{
    struct stat status { };
    if (::stat(QFile::encodeName(model).constData(), &status) != 0)
        return false;
    const timespec times[2] = {status.st_atim, status.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

void append16(QByteArray& bytes, quint16 value)
{
    bytes.append(static_cast<char>(value & 0xff)).append(static_cast<char>(value >> 8));
}

void append32(QByteArray& bytes, quint32 value)
{
    append16(bytes, static_cast<quint16>(value & 0xffff));
    append16(bytes, static_cast<quint16>(value >> 16));
}

// A 2 x 1 BMP of 16 bits a pixel, both pixels `pixel`: 5-5-5 without masks, or with the three
// masks given as bit fields.
QByteArray bmp16(quint16 pixel, const QList<quint32>& masks)
{
    const quint32 offset = 14 + 40 + 4 * static_cast<quint32>(masks.size());
    QByteArray bytes("BM");
    append32(bytes, offset + 4);
    append32(bytes, 0);
    append32(bytes, offset);
    append32(bytes, 40);
    append32(bytes, 2);                       // width
    append32(bytes, 1);                       // height
    append16(bytes, 1);                       // planes
    append16(bytes, 16);                      // bits a pixel
    append32(bytes, masks.isEmpty() ? 0 : 3); // plain RGB or bit fields
    append32(bytes, 4);
    append32(bytes, 2835);
    append32(bytes, 2835);
    append32(bytes, 0);
    append32(bytes, 0);
    for (const quint32 mask : masks)
        append32(bytes, mask);
    append16(bytes, pixel);
    append16(bytes, pixel);
    return bytes;
}

} // namespace

class TestPictureLoader : public QObject {
    Q_OBJECT
private slots:
    // Another picture of the same size put in the file's place with the file's times, by a
    // rename (mv) or by rewriting it (cp -p), is what the next read shows.
    void replacedFileIsReadAnew_data()
    {
        QTest::addColumn<bool>("rename");
        QTest::newRow("renamed over") << true;
        QTest::newRow("rewritten in place") << false;
    }
    void replacedFileIsReadAnew()
    {
        QFETCH(bool, rename);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tile.bmp"));
        const QString other = dir.filePath(QStringLiteral("other.bmp"));
        const QByteArray red = bmpBytes(Qt::red), blue = bmpBytes(Qt::blue);
        QCOMPARE(red.size(), blue.size());
        QVERIFY(writeFile(path, red));
        QCOMPARE(readPictureFile(path, PictureKind::BitmapOrJpeg).pixel(0, 0), qRgb(255, 0, 0));
        // Past the file system's clock step, so a rewrite can be told by its change time.
        QThread::msleep(20);
        if (rename) {
            QVERIFY(writeFile(other, blue) && copyTimes(path, other));
            QVERIFY(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()) == 0);
        } else {
            QVERIFY(writeFile(other, red) && copyTimes(path, other)); // keeps the times
            QVERIFY(writeFile(path, blue) && copyTimes(other, path));
        }
        QCOMPARE(QFileInfo(path).size(), red.size());
        QCOMPARE(readPictureFile(path, PictureKind::BitmapOrJpeg).pixel(0, 0), qRgb(0, 0, 255));
        // And read once more unchanged, the same.
        QCOMPARE(readPictureFile(path, PictureKind::BitmapOrJpeg).pixel(1, 1), qRgb(0, 0, 255));
    }

    // A BMP whose rows are cut short, or start past the file's end, or whose information header
    // runs past it, fails like a damaged file
    // instead of showing whatever the memory held; a whole one reads.
    void bmpCutShortFails_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("readable");
        const QByteArray rgb32 = bmpBytes(Qt::red), rgb24 = bmpBytes(Qt::red, QImage::Format_RGB888);
        QTest::newRow("whole 32-bit") << rgb32 << true;
        QTest::newRow("whole 24-bit") << rgb24 << true;
        QTest::newRow("32-bit cut in half") << rgb32.left(rgb32.size() / 2) << false;
        QTest::newRow("24-bit short of one byte") << rgb24.chopped(1) << false;
        QByteArray pastEnd = rgb24;
        qToLittleEndian<quint32>(0x7ffffff0u, pastEnd.data() + 10);
        QTest::newRow("data past the end") << pastEnd << false;
        qToLittleEndian<quint32>(1, pastEnd.data() + 30); // run-length coded
        QTest::newRow("coded data past the end") << pastEnd << false;
        // Found by fuzz_picture: the file and the same bytes in memory gave different pixels.
        // A 16-bit 7 x 3 picture whose information header claims 117 MB.
        static const char longHeader[] =
            "\x42\x4d\x46\x00\x00\x00\x00\x00\x00\x00\x42\x00\x00\x00\x00\x28\x00\x07\x07\x00"
            "\x03\x00\x01\x00\x10\x00\x03\x0e\x00\x00\x00\x00\x00\x00\x00\x94\xb9\xde\x03\x28"
            "\x4d\x72\x97\xbc\xe1\x25\x4a\x6f\x94\xb9\xde\xff\xff\xff\xff\xff\xff\xff\xff\xff"
            "\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff"
            "\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\x03\x28\xb3\x8d\x68\x4c\xe1\x06\x2b";
        QTest::newRow("information header past the end") << QByteArray(longHeader, sizeof longHeader - 1) << false;
        // Found by longer fuzz_picture runs: Qt reads such files from memory it never wrote.
        QByteArray dataInHeader = rgb24;
        qToLittleEndian<quint32>(40, dataInHeader.data() + 10);
        QTest::newRow("pixel data inside the header") << dataInHeader << false;
    }
    void bmpCutShortFails()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cut.bmp"));
        QVERIFY(writeFile(path, file));
        QCOMPARE(!readPictureFile(path, PictureKind::BitmapOrJpeg).isNull(), readable);
        QCOMPARE(!decodePicture(file, PictureKind::BitmapOrJpeg).isNull(), readable);
    }

    // Each 5- or 6-bit sample stretched to 0..255: the largest is 255, the rest in proportion.
    void bmp16ColoursAreFullRange_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QRgb>("expected");
        const QList<quint32> bits565 = {0xf800, 0x07e0, 0x001f};
        const QList<quint32> bits555 = {0x7c00, 0x03e0, 0x001f};
        QTest::newRow("5-5-5 white") << bmp16(0x7fff, {}) << qRgb(255, 255, 255);
        QTest::newRow("5-5-5 mid") << bmp16((16 << 10) | (8 << 5) | 31, {}) << qRgb(132, 66, 255);
        QTest::newRow("5-5-5 black") << bmp16(0, {}) << qRgb(0, 0, 0);
        QTest::newRow("5-5-5 bit fields white") << bmp16(0x7fff, bits555) << qRgb(255, 255, 255);
        QTest::newRow("5-6-5 white") << bmp16(0xffff, bits565) << qRgb(255, 255, 255);
        QTest::newRow("5-6-5 mid") << bmp16((16 << 11) | (32 << 5) | 1, bits565) << qRgb(132, 130, 8);
    }
    void bmp16ColoursAreFullRange()
    {
        QFETCH(QByteArray, file);
        QFETCH(QRgb, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.bmp"));
        QVERIFY(writeFile(path, file));
        for (const QImage& image :
             {readPictureFile(path, PictureKind::BitmapOrJpeg), decodePicture(file, PictureKind::BitmapOrJpeg)}) {
            QCOMPARE(image.size(), QSize(2, 1));
            QCOMPARE(image.format(), QImage::Format_RGB32);
            QCOMPARE(QColor(image.pixel(0, 0)), QColor(expected));
            QCOMPARE(QColor(image.pixel(1, 0)), QColor(expected));
        }
    }
};

QTEST_GUILESS_MAIN(TestPictureLoader)
#include "tst_pictureloader.moc"
