// Colour values, the 16-colour palette and the shell's HLS conversion.
#include "platform/ColorValue.h"
#include "platform/RunTimeError.h"
#include "render/ColorHLSToRGB.h"
#include "render/PaletteColor.h"

#include <QGuiApplication>
#include <QPalette>
#include <QtTest>

#include <cmath>

using namespace sorvel;

namespace {

// A floating-point HLS reference on the 0-240 scale, to catch formula mistakes.
QColor referenceHls(int hue, int luminance, int saturation)
{
    return QColor::fromHslF(std::fmod(hue / 240.0, 1.0), saturation / 240.0, luminance / 240.0).toRgb();
}

} // namespace

class TestColors : public QObject {
    Q_OBJECT
private slots:
    void paletteHasTheSixteenColours()
    {
        const ColorValue expected[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                         0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                         0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        for (int i = 0; i < 16; ++i)
            QCOMPARE(PaletteColor(i), expected[i]);
        QCOMPARE(toQColor(PaletteColor(12)), QColor(255, 0, 0));
        QCOMPARE(toQColor(PaletteColor(1)), QColor(0, 0, 128));
    }

    void paletteIndexOutOfRangeRaisesNine()
    {
        for (int index : {-1, 16, 1000}) {
            try {
                PaletteColor(index);
                QFAIL("no error");
            } catch (const RunTimeError& e) {
                QCOMPARE(e.code(), 9);
            }
        }
    }

    void systemColoursComeFromThePalette()
    {
        const QPalette palette = QGuiApplication::palette();
        QCOMPARE(toQColor(systemWindowBackground), palette.color(QPalette::Base));
        QCOMPARE(toQColor(systemWindowText), palette.color(QPalette::Text));
        QCOMPARE(toQColor(systemButtonFace), palette.color(QPalette::Button));
        QCOMPARE(fromQColor(QColor(1, 2, 3)), rgbColor(1, 2, 3));
        QCOMPARE(rgbColor(192, 192, 192), ColorValue(0x00C0C0C0));
    }

    void exactShellValues_data()
    {
        QTest::addColumn<int>("hue");
        QTest::addColumn<int>("luminance");
        QTest::addColumn<int>("saturation");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("blue") << 160 << 120 << 240 << QColor(0, 0, 255);
        QTest::newRow("red") << 0 << 120 << 240 << QColor(255, 0, 0);
        QTest::newRow("green") << 80 << 120 << 240 << QColor(0, 255, 0);
        QTest::newRow("white") << 0 << 240 << 0 << QColor(255, 255, 255);
        QTest::newRow("grey 120 truncates") << 0 << 120 << 0 << QColor(127, 127, 127);
        // Worked by hand through the integer formulas. Rainbow: luminance 160 (the second magic formula), saturation 200.
        QTest::newRow("rainbow hue 0") << 0 << 160 << 200 << QColor(241, 99, 99);
        QTest::newRow("rainbow hue 67") << 67 << 160 << 200 << QColor(146, 241, 99);
        QTest::newRow("rainbow hue 133") << 133 << 160 << 200 << QColor(99, 194, 241);
        QTest::newRow("rainbow hue 200") << 200 << 160 << 200 << QColor(241, 99, 241);
        QTest::newRow("rainbow hue 12") << 12 << 160 << 200 << QColor(241, 141, 99);
        QTest::newRow("dark, first formula") << 30 << 60 << 200 << QColor(117, 90, 11);
    }
    void exactShellValues()
    {
        QFETCH(int, hue);
        QFETCH(int, luminance);
        QFETCH(int, saturation);
        QFETCH(QColor, expected);
        const ColorValue value = ColorHLSToRGB(static_cast<std::uint16_t>(hue), static_cast<std::uint16_t>(luminance),
                                               static_cast<std::uint16_t>(saturation));
        QCOMPARE(toQColor(value), expected);
    }

    void agreesWithFloatingPointWithinOneStep()
    {
        for (int l : {40, 120, 160, 200})
            for (int s : {60, 200, 240})
                for (int h = 0; h <= 240; ++h) {
                    const QColor got = toQColor(ColorHLSToRGB(static_cast<std::uint16_t>(h), static_cast<std::uint16_t>(l),
                                                              static_cast<std::uint16_t>(s)));
                    const QColor ref = referenceHls(h, l, s);
                    const int worst = std::max({std::abs(got.red() - ref.red()), std::abs(got.green() - ref.green()),
                                                std::abs(got.blue() - ref.blue())});
                    if (worst > 4)
                        QFAIL(qPrintable(QStringLiteral("h=%1 l=%2 s=%3 off by %4").arg(h).arg(l).arg(s).arg(worst)));
                }
    }
};

QTEST_MAIN(TestColors)
#include "tst_colors.moc"
