// The words of the command line as settings: colours, the size text and line breaks.
#include "platform/RunTimeError.h"
#include "render/PaletteColor.h"
#include "render/SettingsFromOptions.h"

#include <QtTest>

#include <optional>

using namespace sorvel;

Q_DECLARE_METATYPE(std::optional<sorvel::ColorValue>)

class RenderCommandOptionsTest : public QObject {
    Q_OBJECT
private slots:
    void colorFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<ColorValue>>("expected");
        const auto none = std::optional<ColorValue>();
        QTest::newRow("palette 0") << "0" << std::optional(PaletteColor(0));
        QTest::newRow("palette 7, the shadow grey") << "7" << std::optional(rgbColor(192, 192, 192));
        QTest::newRow("palette 15") << "15" << std::optional(PaletteColor(15));
        QTest::newRow("leading zero") << "09" << std::optional(PaletteColor(9));
        QTest::newRow("16 is past the palette") << "16" << none;
        QTest::newRow("negative") << "-1" << none;
        QTest::newRow("blanks") << " 3" << none;
        QTest::newRow("three digits") << "007" << none;
        QTest::newRow("full-width digit") << "３" << none;
        QTest::newRow("hex, red first") << "#FF8000" << std::optional(rgbColor(255, 128, 0));
        QTest::newRow("hex, lower case") << "#0a0b0c" << std::optional(rgbColor(10, 11, 12));
        QTest::newRow("short hex") << "#FFF" << none;
        QTest::newRow("hex without #") << "FF8000" << none;
        QTest::newRow("hex with a non-digit") << "#FF80G0" << none;
        QTest::newRow("hex with a sign") << "#+F8000" << none;
        QTest::newRow("colour name") << "red" << none;
        QTest::newRow("empty") << "" << none;
    }
    void colorFromText()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<ColorValue>, expected);
        QCOMPARE(sorvel::colorFromText(text), expected);
    }

    void fontSizeFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("points");   // as realised: whole pixels at 96 dpi
        QTest::addColumn<int>("error");      // 0: none
        QTest::newRow("14 is held as 14.25") << "14" << 14.25f << 0;
        QTest::newRow("fraction") << "12.5" << 12.75f << 0;
        QTest::newRow("blanks around") << " 20 " << 20.25f << 0;
        QTest::newRow("full-width digits") << "７２" << 72.0f << 0;
        QTest::newRow("tiny is one pixel") << "0.1" << 0.75f << 0;
        QTest::newRow("largest") << "2160" << 2160.0f << 0;
        QTest::newRow("zero") << "0" << 0.0f << int(ErrorNumber::InvalidCall);
        QTest::newRow("negative") << "-3" << 0.0f << int(ErrorNumber::InvalidCall);
        QTest::newRow("too large for the fonts") << "2161" << 0.0f << int(ErrorNumber::InvalidCall);
        QTest::newRow("too large for a number") << "1e400" << 0.0f << int(ErrorNumber::Overflow);
        QTest::newRow("word") << "big" << 0.0f << int(ErrorNumber::TypeMismatch);
        QTest::newRow("empty") << "" << 0.0f << int(ErrorNumber::TypeMismatch);
    }
    void fontSizeFromText()
    {
        QFETCH(QString, text);
        QFETCH(float, points);
        QFETCH(int, error);
        try {
            const float size = sorvel::fontSizeFromText(text);
            QCOMPARE(error, 0);
            QCOMPARE(size, points);
        } catch (const RunTimeError& raised) {
            QCOMPARE(raised.code(), error);
        }
    }

    void lineBreaksBecomeCrLf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << "abc" << "abc";
        QTest::newRow("LF") << "a\nb" << "a\r\nb";
        QTest::newRow("CR LF stays one break") << "a\r\nb" << "a\r\nb";
        QTest::newRow("lone CR") << "a\rb" << "a\r\nb";
        QTest::newRow("LF CR is two breaks") << "a\n\rb" << "a\r\n\r\nb";
        QTest::newRow("CR CR LF") << "a\r\r\nb" << "a\r\n\r\nb";
        QTest::newRow("breaks at both ends") << "\nab\r" << "\r\nab\r\n";
        QTest::newRow("only breaks") << "\n\n" << "\r\n\r\n";
        QTest::newRow("empty") << "" << "";
    }
    void lineBreaksBecomeCrLf()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(withCrLfLineBreaks(text), expected);
    }
};

QTEST_MAIN(RenderCommandOptionsTest)
#include "tst_render_command_options.moc"
