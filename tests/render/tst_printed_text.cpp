// The boxes and missing characters of a rendering come from the text exactly as the canvas
// printed it: after margins, wrapping, alignment and spacing, every pixel of ink lies in a box.
#include "RenderTestSurfaces.h"

#include "render/PrintedText.h"
#include "text/ColorEmoji.h"

#include <QRegion>
#include <QtTest>

using namespace sorvel;
using namespace sorvel::testing;

Q_DECLARE_METATYPE(sorvel::TextImageSettings)

namespace {

struct Placed {
    QImage image;
    std::vector<CharacterBox> boxes;
    QString missing;
};

Placed renderPlaced(Surfaces& surfaces, const TextImageSettings& s)
{
    TextPlacement placement;
    renderTextImageWithPlacement(s, {surfaces.canvas, surfaces.label, surfaces.holder}, placement);
    return {surfaces.canvas.image(), printedCharacterBoxes(s.Text, placement),
            printedMissingCharacters(s.Text, placement)};
}

} // namespace

class TestPrintedText : public QObject {
    Q_OBJECT
private slots:
    void everyInkPixelLiesInABox_data();
    void everyInkPixelLiesInABox();
    void missingCharactersOfTheRendering();
    void emojiKeepTheirColoursInThePicture();
};

void TestPrintedText::everyInkPixelLiesInABox_data()
{
    QTest::addColumn<TextImageSettings>("settings");
    TextImageSettings s = plain(u"Boxes for every character, 文字を絵に 👍🏽\r\nand a second line"_qs);
    QTest::newRow("plain") << s;
    s.Margins = {7, 11, 5, 13};
    QTest::newRow("margins") << s;
    s.Layout.width = 150;
    s.Layout.wrap = WrapMode::Word;
    s.Layout.align = LineAlignment::Center;
    QTest::newRow("wrapped and centred") << s;
    s.Layout.letterSpacing = 3;
    s.Layout.lineSpacing = 1.7;
    s.Rainbow = true;
    QTest::newRow("spaced rainbow") << s;
    s.Layout.letterSpacing = -2;
    s.Layout.lineSpacing = 0.8;
    s.Layout.align = LineAlignment::Right;
    s.FontItalic = true;
    QTest::newRow("close italic") << s;
}

void TestPrintedText::everyInkPixelLiesInABox()
{
    QFETCH(TextImageSettings, settings);
    Surfaces surfaces;
    const Placed placed = renderPlaced(surfaces, settings);
    QVERIFY(!placed.boxes.empty());
    QVERIFY(placed.missing.isEmpty());
    QRegion covered;
    for (const CharacterBox& box : placed.boxes)
        covered += box.rect.toAlignedRect();
    int ink = 0;
    for (int y = 0; y < placed.image.height(); ++y) {
        for (int x = 0; x < placed.image.width(); ++x) {
            if ((placed.image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                continue;
            ++ink;
            QVERIFY2(covered.contains(QPoint(x, y)), qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
        }
    }
    QVERIFY(ink > 100);
    // The first character starts at the left margin (left aligned) and the top one.
    const QRectF first = placed.boxes.front().rect;
    QVERIFY(first.top() >= settings.Margins.top - 1 && first.top() <= settings.Margins.top);
    if (settings.Layout.align == LineAlignment::Left)
        QVERIFY(qAbs(first.left() - settings.Margins.left) <= 1);
}

void TestPrintedText::missingCharactersOfTheRendering()
{
    Surfaces surfaces;
    TextImageSettings s = plain(u"a\uE000b\r\n\uE000\U000F0000"_qs);
    s.Layout.letterSpacing = 2;
    QCOMPARE(renderPlaced(surfaces, s).missing, u"\uE000\U000F0000"_qs);
    s.Text.clear();
    QCOMPARE(renderPlaced(surfaces, s).missing, QString());
    QVERIFY(renderPlaced(surfaces, s).boxes.empty());
}

// The window's picture: emoji come from the colour font whatever the text colour, and rainbow
// hues leave them as they are.
void TestPrintedText::emojiKeepTheirColoursInThePicture()
{
    if (colorEmojiFamily().isEmpty())
        QSKIP("no colour emoji font is installed");
    const auto yellowPixels = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += c.red() > 200 && c.green() > 150 && c.blue() < 90;
            }
        }
        return count;
    };
    Surfaces surfaces;
    TextImageSettings s = plain(u"\U0001F600"_qs);
    s.ForeColor = 0xFF0000; // blue, as the window keeps colours (0x00BBGGRR)
    const QImage picture = surfaces.render(s);
    QVERIFY(yellowPixels(picture) > 30);
    s.Rainbow = true;
    QCOMPARE(yellowPixels(surfaces.render(s)), yellowPixels(picture));
    s.Text = u"\u263A"_qs; // text presentation: drawn in the text's colour only
    s.Rainbow = false;
    QCOMPARE(yellowPixels(surfaces.render(s)), 0);
}

QTEST_MAIN(TestPrintedText)
#include "tst_printed_text.moc"
