// The 16-colour palette and the shell's integer HLS conversion.
#include "platform/RunTimeError.h"
#include "render/ColorHLSToRGB.h"
#include "render/PaletteColor.h"

#include <QtTest>

#include <cmath>

using namespace sorvel;

namespace {

QColor hls(int hue, int luminance, int saturation)
{
    return toQColor(ColorHLSToRGB(static_cast<std::uint16_t>(hue), static_cast<std::uint16_t>(luminance),
                                  static_cast<std::uint16_t>(saturation)));
}

} // namespace

class TestColors : public QObject {
    Q_OBJECT
private slots:
    void paletteKeepsRedAndBlueApartAndRaisesNineOutsideIt()
    {
        QCOMPARE(toQColor(PaletteColor(12)), QColor(255, 0, 0));
        QCOMPARE(toQColor(PaletteColor(1)), QColor(0, 0, 128));
        for (int index : {-1, 16}) {
            try {
                PaletteColor(index);
                QFAIL("no error");
            } catch (const RunTimeError& e) {
                QCOMPARE(e.code(), 9);
            }
        }
    }

    // Worked by hand through the integer formulas: a grey that truncates, the rainbow's
    // luminance 160 and saturation 200 (second formula), a dark colour (first formula); and
    // within four steps of floating point everywhere.
    void integerHls()
    {
        const std::pair<std::array<int, 3>, QColor> cases[] = {
            {{0, 120, 0}, QColor(127, 127, 127)}, {{67, 160, 200}, QColor(146, 241, 99)}, {{30, 60, 200}, QColor(117, 90, 11)}};
        for (const auto& [hls3, expected] : cases)
            QCOMPARE(hls(hls3[0], hls3[1], hls3[2]), expected);
        for (int l : {40, 120, 160, 200})
            for (int s : {60, 200, 240})
                for (int h = 0; h <= 240; ++h) {
                    const QColor got = hls(h, l, s);
                    const QColor ref = QColor::fromHslF(std::fmod(h / 240.0, 1.0), s / 240.0, l / 240.0).toRgb();
                    const int worst = std::max({std::abs(got.red() - ref.red()), std::abs(got.green() - ref.green()),
                                                std::abs(got.blue() - ref.blue())});
                    QVERIFY2(worst <= 4, qPrintable(QStringLiteral("h=%1 l=%2 s=%3 off by %4").arg(h).arg(l).arg(s).arg(worst)));
                }
    }
};

QTEST_MAIN(TestColors)
#include "tst_colors.moc"
