// Shaped text blocks: coloured drawing puts the glyphs where plain drawing does, for every
// kind of character, including those of a script no installed font covers (coloured drawing
// once crashed on those: their fallback font engine has no family name).
#include "platform/FontSystem.h"
#include "platform/TextBlock.h"

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
    void coloredDrawingMovesNoGlyph_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("underline");
        QTest::newRow("marks and a second line") << u"e\u0301\u0302x\r\n\u0327A"_qs << true;
        QTest::newRow("lone surrogates") << u"a"_qs + QChar(0xD800) + u"b"_qs + QChar(0xDC00) << true;
        const std::pair<QFontDatabase::WritingSystem, char16_t> scripts[] = {
            {QFontDatabase::Gurmukhi, 0x0A05}, {QFontDatabase::Oriya, 0x0B05},   {QFontDatabase::Ogham, 0x1681},
            {QFontDatabase::Tibetan, 0x0F40},  {QFontDatabase::Sinhala, 0x0D85}, {QFontDatabase::Nko, 0x07CA}};
        for (const auto& [system, sample] : scripts)
            if (QFontDatabase::families(system).isEmpty()) {
                const QString uncovered(QChar{sample});
                QTest::newRow("script without a font") << u"A"_qs + uncovered + u"B"_qs << false;
                QTest::newRow("script without a font, underlined") << uncovered.repeated(3) << true;
                return;
            }
        qWarning("every candidate script has a font here: the uncovered-script case is not run");
    }
    void coloredDrawingMovesNoGlyph()
    {
        QFETCH(QString, text);
        QFETCH(bool, underline);
        QFont font = makeFont(defaultFontName, designFontPoints);
        font.setUnderline(underline);
        const TextBlock block(text, font);
        const QImage plain = inkOf(block, false);
        QImage blank = plain;
        blank.fill(0);
        QVERIFY(plain != blank);
        QCOMPARE(inkOf(block, true), plain);
    }
};

QTEST_MAIN(TestTextBlock)
#include "tst_textblock.moc"
