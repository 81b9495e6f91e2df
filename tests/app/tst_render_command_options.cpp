// The words of the command line as settings: which colour texts are refused, and line breaks.
#include "render/SettingsFromOptions.h"

#include <QtTest>

using namespace sorvel;

class RenderCommandOptionsTest : public QObject {
    Q_OBJECT
private slots:
    void colorsThatAreRefused()
    {
        for (const char* text : {"16", "-1", " 3", "007", "３", "#FFF", "FF8000", "#FF80G0", "#+F8000", "red", ""})
            QVERIFY2(!sorvel::colorFromText(QString::fromUtf8(text)).has_value(), text);
        QCOMPARE(sorvel::colorFromText(QStringLiteral("#0a0b0c")), std::optional(rgbColor(10, 11, 12)));
    }

    void lineBreaksBecomeCrLf()
    {
        const std::pair<const char*, const char*> cases[] = {{"a\nb", "a\r\nb"}, {"a\r\nb", "a\r\nb"}, {"a\rb", "a\r\nb"},
                                                             {"a\n\rb", "a\r\n\r\nb"}, {"a\r\r\nb", "a\r\n\r\nb"},
                                                             {"\nab\r", "\r\nab\r\n"}};
        for (const auto& [text, expected] : cases)
            QCOMPARE(withCrLfLineBreaks(QString::fromLatin1(text)), QString::fromLatin1(expected));
    }
};

QTEST_MAIN(RenderCommandOptionsTest)
#include "tst_render_command_options.moc"
