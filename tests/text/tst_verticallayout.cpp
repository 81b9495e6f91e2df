// Vertical text with IPA P Gothic: the font's vertical forms, turned Latin, upright short runs,
// columns from right to left, wrapping at a height and where a column may not begin or end.
#include "text/FontSystem.h"
#include "text/TextBlock.h"
#include "text/VerticalLayout.h"
#include "text/VerticalShaper.h"

#include <QPainter>
#include <QRawFont>
#include <QtTest>

using namespace sorvel;

namespace {

QFont gothic()
{
    return makeFont(defaultFontName, designFontPoints);
}

TextLayoutOptions vertical(int height = 0, int uprightDigits = 2)
{
    TextLayoutOptions options;
    options.vertical = true;
    options.height = height;
    options.uprightDigits = uprightDigits;
    return options;
}

const QPoint margin(4, 4);

QImage pictureOf(const TextBlock& block, const std::vector<QColor>* colors = nullptr)
{
    QImage image(block.width() + 2 * margin.x(), block.height() + 2 * margin.y(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    if (colors)
        block.drawColored(painter, margin.x(), margin.y(), *colors);
    else
        block.draw(painter, margin.x(), margin.y(), Qt::black);
    return image;
}

// The bounds of the pixels that are not white (and, when given, close to colour), in the
// block's own coordinates.
QRect inkOf(const QImage& image, std::optional<QColor> color = std::nullopt)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == qRgb(255, 255, 255))
                continue;
            if (color && (std::abs(qRed(p) - color->red()) > 40 || std::abs(qBlue(p) - color->blue()) > 40 ||
                          std::abs(qGreen(p) - color->green()) > 40))
                continue;
            ink |= QRect(x, y, 1, 1);
        }
    }
    return ink.translated(-margin);
}

QRect inkOf(const QString& text, const TextLayoutOptions& options = vertical())
{
    const TextBlock block(text, gothic(), options);
    return inkOf(pictureOf(block));
}

QStringList columnTexts(const VerticalLayout& layout, const QString& text)
{
    QStringList columns;
    for (const VerticalLayout::ColumnSpan& span : layout.columns())
        columns << text.mid(span.start, span.length);
    return columns;
}

} // namespace

class TestVerticalLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(QRawFont::fromFont(gothic()).familyName().toLower(), QStringLiteral("ipapgothic")); }

    void fontGivesVerticalForms()
    {
        const auto shaper = VerticalShaper::of(QRawFont::fromFont(gothic()));
        for (const QString& text : {u"、"_qs, u"。"_qs, u"「"_qs, u"」"_qs, u"ー"_qs, u"〜"_qs}) {
            const ShapedRun across = shaper->shape(text, 0, text.size(), false);
            const ShapedRun down = shaper->shape(text, 0, text.size(), true);
            QCOMPARE(across.glyphs.size(), std::size_t(1));
            QCOMPARE(down.glyphs.size(), std::size_t(1));
            QVERIFY2(across.glyphs[0].glyph != 0, qPrintable(text));
            QVERIFY2(down.glyphs[0].glyph != across.glyphs[0].glyph, qPrintable(text));
            // Down the column by the font's vertical metrics (this proportional font gives
            // punctuation half an em).
            QVERIFY(down.advance > 0 && down.advance <= shaper->em());
        }
        // An ideograph has no other form: the same glyph both ways.
        const ShapedRun across = shaper->shape(u"山", 0, 1, false);
        const ShapedRun down = shaper->shape(u"山", 0, 1, true);
        QCOMPARE(down.glyphs[0].glyph, across.glyphs[0].glyph);
    }

    void inkOfEachKind()
    {
        // The prolonged sound mark runs down the column.
        const QRect bar = inkOf(u"ー"_qs);
        QVERIFY2(bar.height() > 2 * bar.width(),
                 qPrintable(QStringLiteral("%1x%2").arg(bar.width()).arg(bar.height())));
        // A Latin word turns: its ink is taller than wide, and the block is one column wide.
        const TextBlock word(u"Sorvel"_qs, gothic(), vertical());
        const QRect turned = inkOf(pictureOf(word));
        QVERIFY(turned.height() > 2 * turned.width());
        QCOMPARE(word.width(), QFontMetrics(gothic()).height());
        // Two digits stand upright side by side within the column; allowed only one, they turn.
        const TextBlock digits(u"12"_qs, gothic(), vertical());
        const QRect upright = inkOf(pictureOf(digits));
        QVERIFY(upright.width() > upright.height());
        QVERIFY(upright.left() >= 0 && upright.right() < digits.vertical()->columnWidth());
        const QRect turnedDigits = inkOf(u"12"_qs, vertical(0, 1));
        QVERIFY(turnedDigits.height() > turnedDigits.width());
    }

    void dateCombinesShortRuns()
    {
        const QString date = u"2026年12月8日"_qs;
        const TextBlock block(date, gothic(), vertical());
        const std::vector<CharacterBox> boxes = block.vertical()->characterBoxes(0, 0);
        QStringList texts;
        for (const CharacterBox& box : boxes)
            texts << box.text;
        QCOMPARE(texts.join(QString()), date);
        // 2026 turned: one above the other; 12 upright: side by side on one level.
        for (int i = 1; i < 4; ++i)
            QVERIFY(boxes[i].rect.top() >= boxes[i - 1].rect.bottom() - 0.01);
        QCOMPARE(boxes[5].rect.top(), boxes[6].rect.top());
        QVERIFY(boxes[6].rect.left() >= boxes[5].rect.right() - 0.01);
        // "12" and "8" each take one em of the column.
        QCOMPARE(boxes[7].rect.top() - boxes[5].rect.top(), double(gothic().pixelSize()));
        QCOMPARE(boxes[9].rect.top() - boxes[8].rect.top(), double(gothic().pixelSize()));
    }

    void columnsRunRightToLeft()
    {
        const TextBlock block(u"あ\r\n"_qs, gothic(), vertical());
        const int column = block.vertical()->columnWidth();
        QCOMPARE(block.vertical()->columnCount(), 2);
        QCOMPARE(block.width(), 2 * column);
        const QRect ink = inkOf(pictureOf(block));
        QVERIFY2(ink.left() >= column, "the first column is the rightmost");

        // Colours follow the reading order: the first column's red lies right of the second's blue.
        const QString text = u"あい\r\nうえ"_qs;
        std::vector<QColor> colors(std::size_t(text.size()), Qt::blue);
        colors[0] = colors[1] = Qt::red;
        const TextBlock two(text, gothic(), vertical());
        const QImage picture = pictureOf(two, &colors);
        const QRect red = inkOf(picture, QColor(Qt::red));
        const QRect blue = inkOf(picture, QColor(Qt::blue));
        QVERIFY(!red.isEmpty() && !blue.isEmpty());
        QVERIFY(blue.right() < column && red.left() >= column);
        // Coloured in one colour, the picture is the plain one.
        std::vector<QColor> black(std::size_t(text.size()), Qt::black);
        QCOMPARE(pictureOf(two, &black), pictureOf(two));
    }

    void heightWrapsColumns()
    {
        const int em = gothic().pixelSize();
        const QString text = u"ゆく河の流れは絶えずして、しかももとの水にあらず。"_qs;
        for (const int height : {3 * em, 5 * em, 7 * em + 5}) {
            const TextBlock block(text, gothic(), vertical(height));
            const VerticalLayout& layout = *block.vertical();
            QCOMPARE(block.height(), height);
            QVERIFY(layout.columnCount() >= text.size() * em / height);
            QCOMPARE(columnTexts(layout, text).join(QString()), text);
            const QRect ink = inkOf(pictureOf(block));
            QVERIFY2(ink.top() >= 0 && ink.bottom() < height, qPrintable(QString::number(height)));
            for (const CharacterBox& box : layout.characterBoxes(0, 0))
                QVERIFY(box.rect.bottom() <= height + 0.01);
        }
        // Without a height, one column a line, as long as the text.
        const TextBlock whole(text, gothic(), vertical());
        QCOMPARE(whole.vertical()->columnCount(), 1);
        const std::vector<CharacterBox> boxes = whole.vertical()->characterBoxes(0, 0);
        QCOMPARE(whole.height(), int(std::ceil(boxes.back().rect.bottom() - 1e-6)));
        QVERIFY(whole.height() <= int(text.size()) * em);
    }

    void kinsokuKeepsPunctuationOffColumnTops()
    {
        const int em = gothic().pixelSize();
        // Five cells a column: 。 would open the second column, so お moves on with it.
        const QString text = u"あいうえお。かきくけこ"_qs;
        const TextBlock block(text, gothic(), vertical(5 * em));
        QCOMPARE(columnTexts(*block.vertical(), text), (QStringList{u"あいうえ"_qs, u"お。かきく"_qs, u"けこ"_qs}));

        // Small kana, the prolonged sound mark and iteration marks stay with the character before.
        const std::pair<QString, QStringList> cases[] = {
            {u"あああっあ"_qs, {u"ああ"_qs, u"あっあ"_qs}}, {u"あああーあ"_qs, {u"ああ"_qs, u"あーあ"_qs}},
            {u"あああゃあ"_qs, {u"ああ"_qs, u"あゃあ"_qs}}, {u"人人人々人"_qs, {u"人人"_qs, u"人々人"_qs}},
            {u"ああ「あ"_qs, {u"ああ"_qs, u"「あ"_qs}},
        };
        for (const auto& [small, expected] : cases) {
            const TextBlock three(small, gothic(), vertical(3 * em));
            QCOMPARE(columnTexts(*three.vertical(), small), expected);
        }

        // A word longer than the column breaks inside, yet not right before its full stop.
        const QString word = u"abcdefgh。"_qs;
        const TextBlock unwrapped(word, gothic(), vertical());
        const double stop = unwrapped.vertical()->characterBoxes(0, 0)[8].rect.top();
        const TextBlock cut(word, gothic(), vertical(int(stop) + 1));
        QCOMPARE(columnTexts(*cut.vertical(), word), (QStringList{u"abcdefg"_qs, u"h。"_qs}));

        const QString prose = u"「はい、そうです。」とケーキ屋さんは言った。ちょっとだけ「待って」くださいね。"_qs;
        for (int cells = 3; cells <= 9; ++cells) {
            const TextBlock wrapped(prose, gothic(), vertical(cells * em));
            const QStringList columns = columnTexts(*wrapped.vertical(), prose);
            QCOMPARE(columns.join(QString()), prose);
            for (qsizetype c = 1; c < columns.size(); ++c) {
                QVERIFY2(!u"、。」ーょっ"_qs.contains(columns[c].front()), qPrintable(columns.join(u'|')));
                QVERIFY2(!u"「"_qs.contains(columns[c - 1].back()), qPrintable(columns.join(u'|')));
            }
        }
    }

    void latinWordsStayWhole()
    {
        const int em = gothic().pixelSize();
        const QString text = u"あいう Sorvel です"_qs;
        const TextBlock block(text, gothic(), vertical(5 * em));
        const QStringList columns = columnTexts(*block.vertical(), text);
        QVERIFY2(columns.size() >= 2 && columns[1].startsWith(u"Sorvel"_qs), qPrintable(columns.join(u'|')));
        QCOMPARE(columns[0], u"あいう"_qs);
    }

    void alignmentAlongColumns()
    {
        const int em = gothic().pixelSize();
        TextLayoutOptions options = vertical(10 * em);
        options.align = LineAlignment::Right;
        const QRect bottom = inkOf(u"山"_qs, options);
        options.align = LineAlignment::Center;
        const QRect middle = inkOf(u"山"_qs, options);
        const QRect top = inkOf(u"山"_qs, vertical(10 * em));
        QVERIFY(top.bottom() < em);
        QVERIFY(bottom.top() >= 9 * em && bottom.bottom() < 10 * em);
        QCOMPARE(middle.top() - top.top(), (10 * em - em) / 2);
    }

    void latinUprightOneByOne()
    {
        TextLayoutOptions options = vertical();
        options.latinUpright = true;
        const TextBlock block(u"abc"_qs, gothic(), options);
        const std::vector<CharacterBox> boxes = block.vertical()->characterBoxes(0, 0);
        QCOMPARE(boxes.size(), std::size_t(3));
        QCOMPARE(block.height(), 3 * gothic().pixelSize());
        const QRect ink = inkOf(pictureOf(block));
        QVERIFY(ink.height() > 2 * ink.width());
    }

    void missingCharactersAndFallback()
    {
        // Emoji come from the fallback font and stand upright; a character no font has is named.
        const QChar unassigned(0x0378);
        const TextBlock block(u"あ😀"_qs + unassigned + u"い"_qs + unassigned, gothic(), vertical());
        QCOMPARE(block.vertical()->missingCharacters(), QString(unassigned));
        const TextBlock plain(u"あいAB12😀"_qs, gothic(), vertical());
        QCOMPARE(plain.vertical()->missingCharacters(), QString());
        QVERIFY(!inkOf(u"😀"_qs).isEmpty());
    }

    void emptyAndOddTexts()
    {
        for (const QString& text : {QString(), u"\r\n"_qs, u"   "_qs, u"a\u0301\u0302"_qs, QString(QChar(0xD800)),
                                    u"\u200D\uFE0F"_qs, u"\r\n\r\nあ"_qs}) {
            for (const int height : {0, 1, 19}) {
                const TextBlock block(text, gothic(), vertical(height));
                QVERIFY(block.width() >= block.vertical()->columnWidth());
                pictureOf(block);
            }
        }
    }
};

QTEST_MAIN(TestVerticalLayout)
#include "tst_verticallayout.moc"
