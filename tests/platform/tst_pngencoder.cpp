// The PNG encoder: the colour type it picks for a picture, and that every type decodes to
// exactly the pixels given.
#include "platform/PngEncoder.h"

#include <QtTest>

using namespace sorvel;

namespace {

constexpr int pngColourTypeOffset = 25;   // in the IHDR chunk
constexpr char pngGrey = 0, pngRgb = 2, pngPalette = 3;

// A 67 x 41 picture cycling through colours, so that every one of them occurs.
QImage pictureOf(const QList<QRgb>& colours)
{
    QImage image(67, 41, QImage::Format_RGB32);
    for (int i = 0; i < 67 * 41; ++i)
        image.setPixel(i % 67, i / 67, colours.at(i % colours.size()));
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
QList<QRgb> greys(int count) { return colours(count, true); }
QList<QRgb> hues(int count) { return colours(count, false); }

QImage decoded(const QByteArray& png)
{
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
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
        QTest::newRow("every grey") << pictureOf(greys(256)) << pngGrey << 0;
        QTest::newRow("one grey") << pictureOf(greys(1)) << pngGrey << 0;
        QTest::newRow("red text on white") << pictureOf({qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(255, 128, 128)})
                                           << pngPalette << 3;
        QTest::newRow("256 colours") << pictureOf(hues(256)) << pngPalette << 256;
        QTest::newRow("257 colours") << pictureOf(hues(257)) << pngRgb << 0;
        // Raw data whose unused byte is not 0xff: the same colour whatever that byte holds.
        for (const auto& [name, colours, type, size] :
             {std::tuple{"black and white, unused byte 0", QList<QRgb>{0x00000000, 0xFFFFFFFF, 0xFF000000}, pngGrey, 0},
              std::tuple{"red and white, unused byte 0", QList<QRgb>{0x00FF0000, 0xFFFFFFFF, 0xFFFF0000, 0x7FFFFFFF}, pngPalette, 2}}) {
            QImage raw = pictureOf(colours);
            for (int y = 0; y < raw.height(); ++y)
                for (int x = 0; x < raw.width(); ++x)
                    reinterpret_cast<QRgb*>(raw.scanLine(y))[x] = colours.at((y * raw.width() + x) % colours.size());
            QTest::newRow(name) << raw << type << size;
        }
        // One pixel a shade off grey, wherever it is, makes the picture coloured.
        const std::pair<QPoint, QRgb> offGrey[] = {
            {{0, 0}, qRgb(129, 128, 128)}, {{66, 40}, qRgb(128, 128, 127)}, {{66, 3}, qRgb(254, 255, 254)}};
        for (const auto& [where, colour] : offGrey) {
            QImage image = pictureOf(greys(100));
            image.setPixel(where, colour);
            QTest::addRow("off grey at %d,%d", where.x(), where.y()) << image << pngPalette << 101;
            QImage full = pictureOf(greys(256));
            full.setPixel(where, colour);
            QTest::addRow("257th colour at %d,%d", where.x(), where.y()) << full << pngRgb << 0;
        }
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
        QCOMPARE(decoded(png), image);
    }

    void onlyTheRegionCountsAndTheResolutionIsKept()
    {
        // A colour outside the region neither reaches the file nor changes its type.
        QImage image = pictureOf(greys(50));
        image.setPixel(60, 10, qRgb(255, 0, 0));
        image.setPixel(10, 35, qRgb(0, 0, 255));
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(2000);
        QByteArray png;
        QVERIFY(encodePngImage(image, 40, 30, png).ok());
        QCOMPARE(png.at(pngColourTypeOffset), pngGrey);
        QCOMPARE(decoded(png), image.copy(0, 0, 40, 30));
        QCOMPARE(QImage::fromData(png).dotsPerMeterX(), 3780);
        QCOMPARE(QImage::fromData(png).dotsPerMeterY(), 2000);
    }
};

QTEST_MAIN(PngEncoderTest)
#include "tst_pngencoder.moc"
