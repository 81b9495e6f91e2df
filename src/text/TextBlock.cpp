#include "text/TextBlock.h"

#include "text/LineWrapping.h"
#include "text/PaintDevice.h"
#include "text/VerticalLayout.h"

#include <QColor>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextBoundaryFinder>

#include <cmath>
#include <mutex>
#include <unordered_set>

namespace sorvel {

namespace {

// Characters that would make the layout start a line of its own are printed as blanks:
// only a CR LF pair breaks a line.
QString lineTextOf(QStringView text)
{
    QString line = text.toString();
    for (QChar& c : line) {
        const char16_t u = c.unicode();
        if (u == u'\r' || u == u'\n' || u == 0x2028 || u == 0x2029 || u == 0x0B || u == 0x0C || u == 0x85)
            c = u' ';
    }
    return line;
}

std::unique_ptr<QTextLayout> layoutLine(const QString& text, const QFont& font)
{
    auto layout = std::make_unique<QTextLayout>(text, font, &paintDevice96());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid()) {
        line.setNumColumns(static_cast<int>(text.size()) + 1);
        line.setPosition(QPointF(0, 0));
    }
    layout->endLayout();
    return layout;
}

struct GlyphKey {
    std::size_t font;
    quint32 index;
    qint64 x;
    qint64 y;
    bool operator==(const GlyphKey&) const = default;
};

struct GlyphKeyHash {
    std::size_t operator()(const GlyphKey& k) const noexcept
    {
        return std::hash<quint64>()((quint64(k.index) << 32) ^ quint64(k.x * 1315423911) ^ quint64(k.y)) ^ k.font;
    }
};

// Glyph runs without their own decorations: underline and strike-out are drawn by
// drawDecorations, over the whole run of characters they belong to.
QGlyphRun undecorated(QGlyphRun run)
{
    run.setUnderline(false);
    run.setStrikeOut(false);
    run.setOverline(false);
    return run;
}

} // namespace

void TextBlock::drawDecorations(QPainter& painter, double left, double right, double baseline,
                                const QColor& color) const
{
    if (!m_font.underline() && !m_font.strikeOut())
        return;
    if (right < left)
        std::swap(left, right);
    const int x0 = static_cast<int>(std::lround(left));
    const int x1 = static_cast<int>(std::lround(right));
    if (x1 <= x0)
        return;
    const int base = static_cast<int>(std::lround(baseline));
    if (m_font.underline())
        painter.fillRect(QRect(x0, base + m_underlinePos, x1 - x0, m_decorationWidth), color);
    if (m_font.strikeOut())
        painter.fillRect(QRect(x0, base - m_strikeOutPos, x1 - x0, m_decorationWidth), color);
}

TextBlock::TextBlock(const QString& text, const QFont& font, const TextLayoutOptions& options)
    : m_text(text), m_font(font), m_options(options)
{
    const QFontMetrics metrics(font, &paintDevice96());
    m_lineHeight = metrics.height();
    m_ascent = metrics.ascent();
    m_underlinePos = std::max(1, metrics.underlinePos());
    m_strikeOutPos = metrics.strikeOutPos();
    m_decorationWidth = std::max(1, metrics.lineWidth());
    if (m_options.vertical) {
        m_vertical = std::make_unique<const VerticalLayout>(text, font, options);
        m_width = m_vertical->width();
        return;
    }

    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(QStringLiteral("\r\n"), start);
        const qsizetype stop = end < 0 ? text.size() : end;
        addLines(text, start, stop);
        if (end < 0)
            break;
        start = end + 2;
    }

    double widest = 0.0;
    for (const Line& line : m_lines) {
        const QTextLine l = line.layout->lineAt(0);
        if (l.isValid())
            widest = std::max(widest, l.horizontalAdvance());
    }
    m_width = static_cast<int>(std::ceil(widest - 1e-6));
    if (m_options.width > 0)
        m_width = m_options.width;
    if (m_options.align != LineAlignment::Left)
        alignLines();
}

void TextBlock::addLines(const QString& text, qsizetype start, qsizetype stop)
{
    const QStringView paragraph = QStringView(text).mid(start, stop - start);
    const WrapMode wrap = m_options.width > 0 ? m_options.wrap : WrapMode::None;
    for (const LineSpan& span : wrapLine(paragraph, m_font, m_options.width, wrap)) {
        Line line;
        line.start = static_cast<int>(start) + span.start;
        line.layout = layoutLine(lineTextOf(paragraph.mid(span.start, span.length)), m_font);
        m_lines.push_back(std::move(line));
    }
}

void TextBlock::alignLines()
{
    const double share = m_options.align == LineAlignment::Center  ? 0.5
                         : m_options.align == LineAlignment::Right ? 1.0
                                                                   : 0.0;
    for (Line& line : m_lines) {
        const QTextLine l = line.layout->lineAt(0);
        const double advance = l.isValid() ? l.horizontalAdvance() : 0.0;
        // Whole pixels, never past the block's right edge nor before its left one.
        line.offset = std::max(0.0, std::floor((m_width - advance) * share + 1e-6));
    }
}

TextBlock::~TextBlock() = default;

std::shared_ptr<const TextBlock> TextBlock::of(const QString& text, const QFont& font, const TextLayoutOptions& options)
{
    thread_local std::shared_ptr<const TextBlock> recent[2];
    for (const auto& block : recent) {
        if (block && block->m_font == font && block->m_text == text && block->m_options == options)
            return block;
    }
    auto block = std::make_shared<const TextBlock>(text, font, options);
    recent[1] = recent[0];
    recent[0] = block;
    return block;
}

int TextBlock::height() const
{
    return m_vertical ? m_vertical->height() : lineCount() * m_lineHeight;
}

double TextBlock::lastLineAdvance() const
{
    if (m_lines.empty())
        return 0.0;
    const QTextLine l = m_lines.back().layout->lineAt(0);
    return l.isValid() ? l.horizontalAdvance() : 0.0;
}

QPointF TextBlock::lineOrigin(std::size_t k, double x, double y, const QTextLine& line) const
{
    // Glyph runs sit on the line's own ascent; lines are spaced by the font's line height.
    const double start = k == 0 ? x : static_cast<double>(m_options.lineStart);
    return {start + m_lines[k].offset, baseline(k, y) - line.ascent()};
}

double TextBlock::baseline(std::size_t k, double y) const
{
    return y + static_cast<double>(k) * m_lineHeight + m_ascent;
}

void TextBlock::draw(QPainter& painter, double x, double y, const QColor& color) const
{
    if (m_vertical) {
        m_vertical->draw(painter, x, y, color);
        return;
    }
    painter.setPen(color);
    for (std::size_t k = 0; k < m_lines.size(); ++k) {
        const QTextLine line = m_lines[k].layout->lineAt(0);
        if (!line.isValid() || line.textLength() == 0)
            continue;
        const QPointF origin = lineOrigin(k, x, y, line);
        for (const QGlyphRun& run : line.glyphRuns())
            painter.drawGlyphRun(origin, undecorated(run));
        drawDecorations(painter, origin.x(), origin.x() + line.horizontalAdvance(), baseline(k, y), color);
    }
}

namespace {

// Calls segment(from, to, colour) for each run of whole characters (grapheme clusters) of
// text that share one colour; a character takes the colour of its first unit.
template <class ColorAt, class Segment> void forEachColorSegment(const QString& text, ColorAt colorAt, Segment segment)
{
    const int length = static_cast<int>(text.size());
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    int start = 0;
    QColor color = colorAt(0);
    for (int boundary = static_cast<int>(graphemes.toNextBoundary()); boundary > 0 && boundary < length;
         boundary = static_cast<int>(graphemes.toNextBoundary())) {
        const QColor next = colorAt(boundary);
        if (next != color) {
            segment(start, boundary, color);
            start = boundary;
            color = next;
        }
    }
    segment(start, length, color);
}

// Glyphs already drawn by the previous segment: a glyph shared by two segments (a ligature)
// is returned for both, and keeps the colour of the first.
class SharedGlyphFilter {
public:
    // Drops from run the glyphs the previous segment drew; returns false when none is left.
    bool filter(QGlyphRun& run)
    {
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        // The font engine itself, not its family name: the fallback engine that draws boxes for
        // a script no installed font covers has no family, and asking for it crashes.
        const std::size_t font = qHash(run.rawFont());
        QList<quint32> keptIndexes;
        QList<QPointF> keptPositions;
        for (qsizetype g = 0; g < indexes.size(); ++g) {
            const GlyphKey key{font, indexes[g], std::llround(positions[g].x() * 64),
                               std::llround(positions[g].y() * 64)};
            m_current.insert(key);
            if (m_previous.count(key) == 0) {
                keptIndexes.push_back(indexes[g]);
                keptPositions.push_back(positions[g]);
            }
        }
        if (keptIndexes.size() != indexes.size()) {
            run.setGlyphIndexes(keptIndexes);
            run.setPositions(keptPositions);
        }
        return !keptIndexes.isEmpty();
    }
    void nextSegment()
    {
        m_previous.swap(m_current);
        m_current.clear();
    }
    void nextLine()
    {
        m_previous.clear();
        m_current.clear();
    }

private:
    std::unordered_set<GlyphKey, GlyphKeyHash> m_previous;
    std::unordered_set<GlyphKey, GlyphKeyHash> m_current;
};

} // namespace

void TextBlock::drawColored(QPainter& painter, double x, double y, const std::vector<QColor>& unitColors) const
{
    if (m_vertical) {
        m_vertical->drawColored(painter, x, y, unitColors);
        return;
    }
    const QColor fallback = painter.pen().color();
    SharedGlyphFilter shared;
    for (std::size_t k = 0; k < m_lines.size(); ++k) {
        const Line& line = m_lines[k];
        const QTextLine textLine = line.layout->lineAt(0);
        if (!textLine.isValid() || textLine.textLength() == 0)
            continue;
        const QPointF origin = lineOrigin(k, x, y, textLine);
        const double base = baseline(k, y);
        auto colorAt = [&](int i) {
            const auto unit = static_cast<std::size_t>(line.start + i);
            return unit < unitColors.size() ? unitColors[unit] : fallback;
        };
        shared.nextLine();
        forEachColorSegment(line.layout->text(), colorAt, [&](int from, int to, const QColor& color) {
            painter.setPen(color);
            drawDecorations(painter, origin.x() + textLine.cursorToX(from), origin.x() + textLine.cursorToX(to), base,
                            color);
            for (QGlyphRun run : textLine.glyphRuns(from, to - from)) {
                run = undecorated(run);
                if (shared.filter(run))
                    painter.drawGlyphRun(origin, run);
            }
            shared.nextSegment();
        });
    }
}

} // namespace sorvel
