// The PNG encoder: the colour type it picks, and that every type decodes to exactly the pixels.
#include "image/PngEncoder.h"

#include <QtTest>

using namespace sorvel;

namespace {

constexpr int pngColourTypeOffset = 25; // in the IHDR chunk
constexpr char pngGrey = 0, pngRgb = 2, pngPalette = 3;

// A 67 x 41 picture cycling through colours, stored as given whatever their unused byte holds.
QImage pictureOf(const QList<QRgb>& colours)
{
    QImage image(67, 41, QImage::Format_RGB32);
    for (int i = 0; i < 67 * 41; ++i)
        reinterpret_cast<QRgb*>(image.scanLine(i / 67))[i % 67] = colours.at(i % colours.size());
    return image;
}

// count different colours: greys, or none of them grey.
QList<QRgb> colours(int count, bool grey)
{
    QList<QRgb> list;
    for (int i = 0; i < count; ++i) {
        const int level = i * 255 / std::max(count - 1, 1);
        list << (grey ? qRgb(level, level, level) : qRgb(i % 256, 255 - i % 256, 7 + i / 256));
    }
    return list;
}

// The picture with its last pixel a shade off grey.
QImage offGreyAtTheEnd(QImage image)
{
    image.setPixel(66, 40, qRgb(128, 128, 127));
    return image;
}

} // namespace

class PngEncoderTest : public QObject {
    Q_OBJECT
private slots:
    void colourTypeFollowsTheColours_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<char>("colourType");
        QTest::addColumn<int>("paletteSize");
        QTest::newRow("every grey") << pictureOf(colours(256, true)) << pngGrey << 0;
        QTest::newRow("red text on white")
            << pictureOf({qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(255, 128, 128)}) << pngPalette << 3;
        QTest::newRow("256 colours") << pictureOf(colours(256, false)) << pngPalette << 256;
        QTest::newRow("257 colours") << pictureOf(colours(257, false)) << pngRgb << 0;
        // Raw data whose unused byte is not 0xff: the same colour whatever that byte holds.
        QTest::newRow("black and white, unused byte 0")
            << pictureOf({0x00000000, 0xFFFFFFFF, 0xFF000000}) << pngGrey << 0;
        QTest::newRow("red and white, unused byte 0")
            << pictureOf({0x00FF0000, 0xFFFFFFFF, 0xFFFF0000, 0x7FFFFFFF}) << pngPalette << 2;
        // One pixel, the very last one, a shade off grey makes the picture coloured.
        QTest::newRow("off grey last") << offGreyAtTheEnd(pictureOf(colours(100, true))) << pngPalette << 101;
        QTest::newRow("257th colour last") << offGreyAtTheEnd(pictureOf(colours(256, true))) << pngRgb << 0;
    }
    void colourTypeFollowsTheColours()
    {
        QFETCH(QImage, image);
        QFETCH(char, colourType);
        QFETCH(int, paletteSize);
        QCOMPARE(pngLayoutOf(image, image.width(), image.height()).palette.size(), paletteSize);
        QByteArray png;
        QVERIFY(encodePngImage(image, image.width(), image.height(), png).ok());
        QCOMPARE(png.at(pngColourTypeOffset), colourType);
        QCOMPARE(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32), image);
    }
};

QTEST_MAIN(PngEncoderTest)
#include "tst_pngencoder.moc"
