// Shaped text blocks: coloured drawing puts the glyphs where plain drawing does, for every
// kind of character, including those of a script no installed font covers (coloured drawing
// once crashed on those: their fallback font engine has no family name).
#include "text/FontSystem.h"
#include "text/TextBlock.h"

#include <QFontDatabase>
#include <QPainter>
#include <QtTest>

using namespace sorvel;

namespace {

// The pixels drawn: plain in black, or coloured with alternately red and blue units.
QImage inkOf(const TextBlock& block, bool colored)
{
    QImage image(block.width() + 4, block.height() + 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    std::vector<QColor> colors;
    for (int i = 0; i < 64; ++i)
        colors.push_back(i % 2 ? QColor(Qt::red) : QColor(Qt::blue));
    colored ? block.drawColored(painter, 1, 1, colors) : block.draw(painter, 1, 1, Qt::black);
    painter.end();
    return image.createMaskFromColor(qRgb(255, 255, 255), Qt::MaskOutColor);
}

} // namespace

class TestTextBlock : public QObject {
    Q_OBJECT
private slots:
    void coloredDrawingMovesNoGlyph()
    {
        const std::pair<QFontDatabase::WritingSystem, char16_t> scripts[] = {
            {QFontDatabase::Gurmukhi, 0x0A05}, {QFontDatabase::Oriya, 0x0B05},   {QFontDatabase::Ogham, 0x1681},
            {QFontDatabase::Tibetan, 0x0F40},  {QFontDatabase::Sinhala, 0x0D85}, {QFontDatabase::Nko, 0x07CA}};
        QString uncovered;
        for (const auto& [system, sample] : scripts)
            if (uncovered.isEmpty() && QFontDatabase::families(system).isEmpty())
                uncovered = QChar(sample);
        if (uncovered.isEmpty())
            qWarning("every candidate script has a font here: the uncovered-script case is not run");
        const std::pair<QString, bool> cases[] = {
            // text, underlined
            {u"e\u0301\u0302x\r\n\u0327A"_qs, true},                   // marks, one at the start of the second line
            {u"a"_qs + QChar(0xD800) + u"b"_qs + QChar(0xDC00), true}, // lone surrogates
            {u"A"_qs + uncovered + u"B"_qs, false},
            {uncovered.repeated(3), true}};
        for (const auto& [text, underline] : cases) {
            if (text.isEmpty())
                continue; // no uncovered script here
            QFont font = makeFont(defaultFontName, designFontPoints);
            font.setUnderline(underline);
            const TextBlock block(text, font);
            const QImage plain = inkOf(block, false);
            QImage blank = plain;
            blank.fill(0);
            QVERIFY(plain != blank);
            QCOMPARE(inkOf(block, true), plain);
        }
    }
};

QTEST_MAIN(TestTextBlock)
#include "tst_textblock.moc"
