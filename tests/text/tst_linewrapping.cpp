// Line wrapping: every character of a line lands in exactly one wrapped line, in order, the
// blanks at a break in none; no line is wider than the width unless one character alone is.
#include "text/FontSystem.h"
#include "text/LineWrapping.h"
#include "text/PaintDevice.h"
#include "text/TextBlock.h"

#include <QTextLayout>
#include <QtTest>

using namespace sorvel;

namespace {

double advanceOf(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font, &paintDevice96());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setNumColumns(static_cast<int>(text.size()) + 1);
    layout.endLayout();
    return line.naturalTextWidth();
}

} // namespace

class TestLineWrapping : public QObject {
    Q_OBJECT
private slots:
    void linesCoverTheTextWithinTheWidth_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("expected"); // empty: only the general rules
        QTest::newRow("words") << "alpha beta gamma delta" << 80 << int(WrapMode::Word) << QStringList{};
        QTest::newRow("blanks at a break")
            << "alpha    beta" << 60 << int(WrapMode::Word) << QStringList{"alpha", "beta"};
        QTest::newRow("a word wider than the width")
            << "abcdefghijklmnopqrstuvwxyz" << 50 << int(WrapMode::Word) << QStringList{};
        QTest::newRow("Japanese") << "いろはにほへとちりぬるを" << 60 << int(WrapMode::Word) << QStringList{};
        QTest::newRow("any character") << "alpha beta gamma" << 70 << int(WrapMode::Character) << QStringList{};
        QTest::newRow("none") << "alpha beta gamma" << 20 << int(WrapMode::None) << QStringList{"alpha beta gamma"};
        QTest::newRow("wide enough") << "alpha beta" << 400 << int(WrapMode::Word) << QStringList{"alpha beta"};
    }
    void linesCoverTheTextWithinTheWidth()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, mode);
        QFETCH(QStringList, expected);
        const QFont font = makeFont(QStringLiteral("DejaVu Sans"), 14.25);
        const std::vector<LineSpan> spans = wrapLine(text, font, width, WrapMode(mode));
        QStringList lines;
        int next = 0;
        for (const LineSpan& span : spans) {
            QVERIFY(span.start >= next && span.length > 0);
            for (int i = next; i < span.start; ++i)
                QVERIFY2(text.at(i).isSpace(), "only blanks are left out");
            const QString line = text.mid(span.start, span.length);
            QVERIFY(!line.back().isSpace());
            if (WrapMode(mode) != WrapMode::None && span.length > 1)
                QVERIFY2(advanceOf(line, font) <= width, qPrintable(line));
            lines << line;
            next = span.start + span.length;
        }
        QCOMPARE(next, text.size());
        if (!expected.isEmpty())
            QCOMPARE(lines, expected);
        else
            QVERIFY(lines.size() > 1);
        // The block of the text at that width has those lines, and is that wide.
        const TextBlock block(text, font, TextLayoutOptions{width, WrapMode(mode), LineAlignment::Left, 0});
        QCOMPARE(block.lineCount(), static_cast<int>(spans.size()));
        QCOMPARE(block.width(), width);
    }
};

QTEST_MAIN(TestLineWrapping)
#include "tst_linewrapping.moc"
