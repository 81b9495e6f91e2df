// Letter and line spacing, colour emoji, characters no font can draw and the box of every
// character, as a text block lays them out and draws them.
#include "text/ColorEmoji.h"
#include "text/FontSystem.h"
#include "text/TextBlock.h"

#include <QPainter>
#include <QtTest>

using namespace sorvel;

namespace {

QFont designFont()
{
    return makeFont(defaultFontName, designFontPoints);
}

// The block drawn at (margin, margin) on white; its size leaves margin pixels on every side.
QImage drawn(const TextBlock& block, int margin, const QColor& color = Qt::black)
{
    QImage image(block.width() + 2 * margin, block.height() + 2 * margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    block.draw(painter, margin, margin, color);
    painter.end();
    return image;
}

// The smallest rectangle holding every pixel that is not white; empty for none.
QRect inkOf(const QImage& image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] & 0xFFFFFF) != 0xFFFFFF)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// Pixels clearly coloured (not grey).
int colouredPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.hsvSaturation() > 80 && c.value() > 60)
                ++count;
        }
    }
    return count;
}

QString joined(const std::vector<CharacterBox>& boxes)
{
    QString text;
    for (const CharacterBox& box : boxes)
        text += box.text;
    return text;
}

const QString mixedText = u"Ag 字あ、1 😀👍🏽🇯🇵1\uFE0F\u20E3e\u0301!"_qs;

} // namespace

class TestGlyphs : public QObject {
    Q_OBJECT
private slots:
    void letterSpacingWidensByTheGapsBetweenCharacters_data();
    void letterSpacingWidensByTheGapsBetweenCharacters();
    void letterSpacingCountsWhenLinesWrap();
    void lineSpacingMovesLaterLines();
    void emojiRangesFollowPresentation_data();
    void emojiRangesFollowPresentation();
    void emojiAreDrawnInColourWhateverTheTextColour();
    void missingCharactersAreThoseWithoutAGlyph_data();
    void missingCharactersAreThoseWithoutAGlyph();
    void eachCharacterInkLiesInsideItsBox_data();
    void eachCharacterInkLiesInsideItsBox();
    void boxesFollowReadingOrderWithoutOverlapping();
    void boxesFollowWrappedAlignedLines();
};

void TestGlyphs::letterSpacingWidensByTheGapsBetweenCharacters_data()
{
    QTest::addColumn<double>("spacing");
    QTest::newRow("wider") << 4.0;
    QTest::newRow("fractional") << 2.5;
    QTest::newRow("closer") << -3.0;
}

// Spacing goes between characters: n characters are n - 1 gaps wider, and nothing is added
// after the last one (which would widen the picture, or with a negative value cut the glyph).
void TestGlyphs::letterSpacingWidensByTheGapsBetweenCharacters()
{
    QFETCH(double, spacing);
    const QString text = QStringLiteral("HIMOW字");
    const TextBlock plain(text, designFont());
    TextLayoutOptions options;
    options.letterSpacing = spacing;
    const TextBlock spaced(text, designFont(), options);
    QVERIFY(qAbs(spaced.width() - (plain.width() + 5 * spacing)) <= 1.0);
    const QRect plainInk = inkOf(drawn(plain, 10));
    const QRect spacedInk = inkOf(drawn(spaced, 10));
    QVERIFY(qAbs(spacedInk.width() - (plainInk.width() + 5 * spacing)) <= 1.0);
    // The last glyph is whole within the block.
    QVERIFY2(spacedInk.right() < 10 + spaced.width() + 1, qPrintable(QString::number(spacedInk.right())));
}

void TestGlyphs::letterSpacingCountsWhenLinesWrap()
{
    const QString text = QStringLiteral("abc abc abc abc");
    const int width = TextBlock(QStringLiteral("abc abc"), designFont()).width() + 1;
    TextLayoutOptions options;
    options.width = width;
    options.wrap = WrapMode::Word;
    QCOMPARE(TextBlock(text, designFont(), options).lineCount(), 2);
    options.letterSpacing = 3.0;
    const TextBlock spaced(text, designFont(), options);
    QCOMPARE(spaced.lineCount(), 4);
    // Exactly as wide as a line may be: "abc abc" with its gaps fits a width of its own size.
    options.width = TextBlock(QStringLiteral("abc abc"), designFont(),
                              TextLayoutOptions{0, WrapMode::None, LineAlignment::Left, 0, 3.0})
                        .width();
    QCOMPARE(TextBlock(text, designFont(), options).lineCount(), 2);
    for (const CharacterBox& box : spaced.characterBoxes(0, 0))
        QVERIFY(box.rect.right() <= width + 1);
}

void TestGlyphs::lineSpacingMovesLaterLines()
{
    const QString text = QStringLiteral("T\r\nT\r\nT");
    const TextBlock plain(text, designFont());
    TextLayoutOptions options;
    options.lineSpacing = 2.0;
    const TextBlock spaced(text, designFont(), options);
    QCOMPARE(spaced.linePitch(), 2 * plain.lineHeight());
    QCOMPARE(spaced.height(), 4 * plain.lineHeight() + plain.lineHeight());
    QCOMPARE(plain.height(), 3 * plain.lineHeight());
    // The third line's ink lies two pitches below the first one's.
    const QImage image = drawn(spaced, 0);
    const int firstTop = inkOf(image.copy(0, 0, image.width(), spaced.lineHeight())).top();
    const int thirdTop = inkOf(image.copy(0, 2 * spaced.linePitch(), image.width(), spaced.lineHeight())).top();
    QCOMPARE(thirdTop, firstTop);
    QCOMPARE(inkOf(image).bottom() - inkOf(image).top() + 1,
             2 * spaced.linePitch() + (inkOf(drawn(TextBlock(QStringLiteral("T"), designFont()), 0)).height()));
    options.lineSpacing = 0.5;
    QCOMPARE(TextBlock(text, designFont(), options).height(),
             2 * static_cast<int>(std::lround(0.5 * plain.lineHeight())) + plain.lineHeight());
}

void TestGlyphs::emojiRangesFollowPresentation_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("ranges"); // start, length, ...
    QTest::newRow("emoji presentation") << u"a\U0001F600b"_qs << QList<int>{1, 2};
    QTest::newRow("text by default") << u"\u00A9\u263A"_qs << QList<int>{};
    QTest::newRow("made emoji") << u"\u00A9\uFE0F \u263A\uFE0F"_qs << QList<int>{0, 2, 3, 2};
    QTest::newRow("made text") << u"\u231A\uFE0E"_qs << QList<int>{};
    QTest::newRow("keycaps") << u"1\uFE0F\u20E3#\u20E3 1"_qs << QList<int>{0, 5};
    QTest::newRow("skin tone") << u"\U0001F44D\U0001F3FD"_qs << QList<int>{0, 4};
    QTest::newRow("zwj sequence") << u"x\U0001F469\u200D\U0001F4BB"_qs << QList<int>{1, 5};
    QTest::newRow("flags")
        << u"\U0001F1EF\U0001F1F5\U0001F3F4\U000E0067\U000E0062\U000E0073\U000E0063\U000E0074\U000E007F"_qs
        << QList<int>{0, 18};
    QTest::newRow("latin and japanese") << u"Hello, 文字を絵に。"_qs << QList<int>{};
}

void TestGlyphs::emojiRangesFollowPresentation()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, ranges);
    QList<int> found;
    for (const TextRange& range : emojiRanges(text))
        found << range.start << range.length;
    QCOMPARE(found, ranges);
}

// 😀 from a text font is black and white; drawn from the colour font it is yellow, whatever
// the pen, and a keycap is one glyph, not a digit beside an empty key.
void TestGlyphs::emojiAreDrawnInColourWhateverTheTextColour()
{
    if (colorEmojiFamily().isEmpty())
        QSKIP("no colour emoji font is installed");
    const TextBlock grinning(u"\U0001F600"_qs, designFont());
    QVERIFY(colouredPixels(drawn(grinning, 2)) > 40);
    const QImage rainbow = [&] {
        QImage image(grinning.width() + 4, grinning.height() + 4, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        grinning.drawColored(painter, 2, 2, {QColor(Qt::blue), QColor(Qt::blue)});
        return image;
    }();
    QCOMPARE(rainbow, drawn(grinning, 2));
    // Text characters keep the pen.
    QCOMPARE(colouredPixels(drawn(TextBlock(QStringLiteral("ab\u00A9"), designFont()), 2)), 0);
    // A shadow or an outline takes the emoji's shape in its own colour.
    QImage silhouette(grinning.width() + 4, grinning.height() + 4, QImage::Format_RGB32);
    silhouette.fill(Qt::white);
    {
        QPainter painter(&silhouette);
        grinning.drawSilhouette(painter, 2, 2, QColor(Qt::black));
    }
    QCOMPARE(colouredPixels(silhouette), 0);
    QCOMPARE(inkOf(silhouette), inkOf(drawn(grinning, 2)));
    const TextBlock keycap(u"1\uFE0F\u20E3"_qs, designFont());
    QVERIFY2(keycap.width() <= grinning.width() + 2, qPrintable(QString::number(keycap.width())));
    QVERIFY(colouredPixels(drawn(keycap, 2)) > 40);
}

void TestGlyphs::missingCharactersAreThoseWithoutAGlyph_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("missing");
    QTest::newRow("every one drawn") << u"Ab 字あ、\U0001F600\U0001F44D\U0001F3FD\u200D\uFE0F\r\nx"_qs << QString();
    QTest::newRow("private use") << u"a\uE000b\uE000\U0010FFFD"_qs << u"\uE000\U0010FFFD"_qs;
    QTest::newRow("control character") << u"a\u0007b"_qs << u"\u0007"_qs;
    QTest::newRow("on a later line") << u"ok\r\n\uE001"_qs << u"\uE001"_qs;
}

void TestGlyphs::missingCharactersAreThoseWithoutAGlyph()
{
    QFETCH(QString, text);
    QFETCH(QString, missing);
    QCOMPARE(TextBlock(text, designFont()).missingCharacters(), missing);
}

void TestGlyphs::eachCharacterInkLiesInsideItsBox_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<bool>("italic");
    for (const QString& character :
         {u"A"_qs, u"g"_qs, u"j"_qs, u"f"_qs, u"W"_qs, u"字"_qs, u"、"_qs, u"\U0001F600"_qs, u"\U0001F44D\U0001F3FD"_qs,
          u"\U0001F1EF\U0001F1F5"_qs, u"1\uFE0F\u20E3"_qs, u"e\u0301"_qs, u"Q"_qs}) {
        QTest::newRow(qPrintable(character)) << character << false;
        QTest::newRow(qPrintable(character + u" italic"_qs)) << character << true;
    }
}

void TestGlyphs::eachCharacterInkLiesInsideItsBox()
{
    QFETCH(QString, character);
    QFETCH(bool, italic);
    QFont font = designFont();
    font.setItalic(italic);
    const TextBlock block(character, font);
    const std::vector<CharacterBox> boxes = block.characterBoxes(8, 8);
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes.front().text, character);
    const QRect box = boxes.front().rect.toAlignedRect();
    const QRect ink = inkOf(drawn(block, 8));
    QVERIFY(!ink.isEmpty());
    QVERIFY2(box.contains(ink), qPrintable(QStringLiteral("ink %1,%2 %3x%4 box %5,%6 %7x%8")
                                               .arg(ink.x())
                                               .arg(ink.y())
                                               .arg(ink.width())
                                               .arg(ink.height())
                                               .arg(box.x())
                                               .arg(box.y())
                                               .arg(box.width())
                                               .arg(box.height())));
}

void TestGlyphs::boxesFollowReadingOrderWithoutOverlapping()
{
    const TextBlock block(mixedText, designFont());
    const std::vector<CharacterBox> boxes = block.characterBoxes(3, 4);
    QCOMPARE(joined(boxes), mixedText);
    QCOMPARE(boxes.size(), std::size_t(14));
    for (std::size_t i = 0; i + 1 < boxes.size(); ++i) {
        const QRectF& a = boxes[i].rect;
        const QRectF& b = boxes[i + 1].rect;
        QVERIFY2(a.right() <= b.left() && a.left() < b.left(), qPrintable(boxes[i].text + boxes[i + 1].text));
        QCOMPARE(a.top(), 4.0);
    }
    QCOMPARE(boxes.front().rect.left(), 3.0);
}

// Boxes of wrapped, centred lines with letter and line spacing lie where draw() puts the ink:
// their union holds all of it, and later lines start one pitch lower.
void TestGlyphs::boxesFollowWrappedAlignedLines()
{
    TextLayoutOptions options;
    options.width = 90;
    options.wrap = WrapMode::Word;
    options.align = LineAlignment::Center;
    options.letterSpacing = 2.0;
    options.lineSpacing = 1.5;
    const QString text = QStringLiteral("one two three four\r\n文字を絵にする");
    const TextBlock block(text, designFont(), options);
    QVERIFY(block.lineCount() >= 4);
    const std::vector<CharacterBox> boxes = block.characterBoxes(6, 6);
    QString expected = text;
    expected.remove(QStringLiteral("\r\n"));
    QString withoutWrapBlanks = joined(boxes);
    QVERIFY(withoutWrapBlanks.size() < expected.size());
    expected.remove(u' ');
    withoutWrapBlanks.remove(u' ');
    QCOMPARE(withoutWrapBlanks, expected);
    QSet<qreal> tops;
    for (const CharacterBox& box : boxes) {
        tops.insert(box.rect.top());
        QVERIFY(qRound(box.rect.top() - 6) % block.linePitch() == 0);
    }
    QCOMPARE(tops.size(), block.lineCount());
    const QImage image = drawn(block, 6);
    QRegion covered;
    for (const CharacterBox& box : boxes)
        covered += box.rect.toAlignedRect();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                QVERIFY2(covered.contains(QPoint(x, y)), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
}

QTEST_MAIN(TestGlyphs)
#include "tst_glyphs.moc"
