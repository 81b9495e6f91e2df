// The PNG the render command (and the window's save) writes: grey pictures as 8-bit greyscale,
// coloured ones as RGB, the same pixels either way.
#include "platform/GreyscaleCopy.h"
#include "platform/ImageWriters.h"

#include <QtTest>

using namespace sorvel;

namespace {

// Black text on white: every grey from 0 to 255 somewhere.
QImage greyPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int v = (x * 7 + y * 13) % 256;
            image.setPixel(x, y, qRgb(v, v, v));
        }
    return image;
}

constexpr int pngColourTypeOffset = 25;   // in the IHDR chunk
constexpr char pngGreyscale = 0;
constexpr char pngRgb = 2;

} // namespace

class RenderCommandPngTest : public QObject {
    Q_OBJECT
private slots:
    void oneColouredPixelAnywhereKeepsRgb_data()
    {
        QTest::addColumn<QPoint>("where");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("first pixel, red apart") << QPoint(0, 0) << qRgb(129, 128, 128);
        QTest::newRow("last pixel, blue apart") << QPoint(66, 40) << qRgb(128, 128, 127);
        QTest::newRow("middle, green apart") << QPoint(33, 20) << qRgb(10, 11, 10);
        QTest::newRow("end of a row") << QPoint(66, 3) << qRgb(255, 255, 254);
    }
    void oneColouredPixelAnywhereKeepsRgb()
    {
        QFETCH(QPoint, where);
        QFETCH(QRgb, colour);
        QImage image = greyPicture(67, 41);
        QVERIFY(greyscaleCopy(image).has_value());
        image.setPixel(where, colour);
        QVERIFY(!greyscaleCopy(image).has_value());

        QByteArray png;
        QVERIFY(encodePNG(image, image.width(), image.height(), png).ok());
        QCOMPARE(png.at(pngColourTypeOffset), pngRgb);
        QCOMPARE(QImage::fromData(png).convertToFormat(QImage::Format_RGB32), image);
    }

    void greyPicturesAreGreyscaleWithTheSamePixels()
    {
        const QImage image = greyPicture(300, 57);
        const std::optional<QImage> grey = greyscaleCopy(image);
        QVERIFY(grey.has_value());
        QCOMPARE(grey->format(), QImage::Format_Grayscale8);
        QCOMPARE(grey->convertToFormat(QImage::Format_RGB32), image);

        // Only the top-left region is written, also in greyscale.
        QByteArray png;
        QVERIFY(encodePNG(image, 120, 50, png).ok());
        QCOMPARE(png.at(pngColourTypeOffset), pngGreyscale);
        QCOMPARE(QImage::fromData(png).convertToFormat(QImage::Format_RGB32), image.copy(0, 0, 120, 50));
    }

    void onlyCanvasPicturesAreLookedAt()
    {
        QVERIFY(!greyscaleCopy(QImage()).has_value());
        QVERIFY(!greyscaleCopy(greyPicture(5, 5).convertToFormat(QImage::Format_ARGB32)).has_value());
    }
};

QTEST_MAIN(RenderCommandPngTest)
#include "tst_render_command_png.moc"
