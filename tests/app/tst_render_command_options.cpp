// The words of the command line as settings: colours, the size text and line breaks.
#include "platform/RunTimeError.h"
#include "render/PaletteColor.h"
#include "render/SettingsFromOptions.h"

#include <QtTest>

using namespace sorvel;

class RenderCommandOptionsTest : public QObject {
    Q_OBJECT
private slots:
    void colorFromText()
    {
        const std::pair<const char*, std::optional<ColorValue>> cases[] = {
            {"0", PaletteColor(0)}, {"7", rgbColor(192, 192, 192)}, {"15", PaletteColor(15)}, {"09", PaletteColor(9)},
            {"#FF8000", rgbColor(255, 128, 0)}, {"#0a0b0c", rgbColor(10, 11, 12)}, {"16", {}}, {"-1", {}}, {" 3", {}},
            {"007", {}}, {"３", {}}, {"#FFF", {}}, {"FF8000", {}}, {"#FF80G0", {}}, {"#+F8000", {}}, {"red", {}}, {"", {}}};
        for (const auto& [text, expected] : cases)
            QVERIFY2(sorvel::colorFromText(QString::fromUtf8(text)) == expected, text);
    }

    // Sizes are realised in whole pixels at 96 dpi: 14 points are held as 14.25.
    void fontSizeFromText()
    {
        const std::pair<const char*, float> accepted[] = {{"14", 14.25f}, {"12.5", 12.75f}, {" 20 ", 20.25f},
                                                          {"７２", 72.0f}, {"0.1", 0.75f}, {"2160", 2160.0f}};
        for (const auto& [text, points] : accepted)
            QCOMPARE(sorvel::fontSizeFromText(QString::fromUtf8(text)), points);
        const std::pair<const char*, ErrorNumber> refused[] = {
            {"0", ErrorNumber::InvalidCall}, {"-3", ErrorNumber::InvalidCall}, {"2161", ErrorNumber::InvalidCall},
            {"1e400", ErrorNumber::Overflow}, {"big", ErrorNumber::TypeMismatch}, {"", ErrorNumber::TypeMismatch}};
        for (const auto& [text, error] : refused) {
            try {
                sorvel::fontSizeFromText(QString::fromUtf8(text));
                QFAIL(text);
            } catch (const RunTimeError& raised) {
                QCOMPARE(raised.code(), static_cast<int>(error));
            }
        }
    }

    void lineBreaksBecomeCrLf()
    {
        const std::pair<const char*, const char*> cases[] = {
            {"abc", "abc"}, {"a\nb", "a\r\nb"}, {"a\r\nb", "a\r\nb"}, {"a\rb", "a\r\nb"}, {"a\n\rb", "a\r\n\r\nb"},
            {"a\r\r\nb", "a\r\n\r\nb"}, {"\nab\r", "\r\nab\r\n"}, {"", ""}};
        for (const auto& [text, expected] : cases)
            QCOMPARE(withCrLfLineBreaks(QString::fromLatin1(text)), QString::fromLatin1(expected));
    }
};

QTEST_MAIN(RenderCommandOptionsTest)
#include "tst_render_command_options.moc"
