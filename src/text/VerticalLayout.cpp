#include "text/VerticalLayout.h"

#include "text/PaintDevice.h"
#include "text/VerticalCharacters.h"
#include "text/VerticalShaper.h"

#include <QColor>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace sorvel {

namespace {

bool isLineSeparator(char16_t u)
{
    return u == u'\r' || u == u'\n' || u == 0x2028 || u == 0x2029 || u == 0x0B || u == 0x0C || u == 0x85;
}

char32_t codePointAt(const QString& text, int i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, text.at(i + 1));
    return c.unicode();
}

char32_t codePointBefore(const QString& text, int i)
{
    if (i <= 0)
        return 0;
    const QChar c = text.at(i - 1);
    if (c.isLowSurrogate() && i >= 2 && text.at(i - 2).isHighSurrogate())
        return QChar::surrogateToUcs4(text.at(i - 2), c);
    return c.unicode();
}

// A font that is a real font file: the engine Qt draws boxes with for characters no font has
// carries no tables.
bool isRealFont(const QRawFont& font)
{
    return font.isValid() && !font.fontTable("head").isEmpty();
}

// The font Qt falls back to for a character its chosen font lacks: the one its own horizontal
// layout draws the character with. Kept for the thread, as Qt keeps its font engines.
QRawFont fallbackFont(const QFont& font, const QString& grapheme)
{
    thread_local std::unordered_map<QString, QRawFont> found;
    const QString key = font.key() + QChar(0) + grapheme;
    const auto known = found.find(key);
    if (known != found.end())
        return known->second;
    QTextLayout layout(grapheme, font, &paintDevice96());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QRawFont raw;
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (!runs.isEmpty())
        raw = runs.front().rawFont();
    if (found.size() > 4096)
        found.clear();
    found.emplace(key, raw);
    return raw;
}

} // namespace

struct VerticalLayout::Grapheme {
    int start = 0;
    int end = 0;
    int font = 0;
    VerticalClass kind = VerticalClass::Upright;
    Orientation orientation = Orientation::Upright;
};

struct VerticalLayout::Segment {
    int start = 0;
    int end = 0;
    int font = 0;
    Orientation orientation = Orientation::Upright;
    ShapedRun shaped;
};

struct VerticalLayout::Unit {
    std::size_t segment = 0;
    int start = 0; // within the paragraph
    int end = 0;
    double pen = 0; // where the unit starts along its segment
    double advance = 0;
    std::size_t firstGlyph = 0;
    std::size_t endGlyph = 0;
    bool blank = false;
};

VerticalLayout::VerticalLayout(const QString& text, const QFont& font, const TextLayoutOptions& options)
    : m_text(text), m_font(font), m_options(options)
{
    const QFontMetrics metrics(font, &paintDevice96());
    m_columnWidth = metrics.height();
    m_decorationWidth = std::max(1, metrics.lineWidth());
    m_underlinePos = std::max(1, metrics.underlinePos());
    m_fonts.push_back(VerticalShaper::of(QRawFont::fromFont(font)));
    m_em = m_fonts.front()->em();

    int start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(QStringLiteral("\r\n"), start);
        const int stop = end < 0 ? static_cast<int>(text.size()) : static_cast<int>(end);
        layoutParagraph(start, stop);
        if (end < 0)
            break;
        start = stop + 2;
    }

    double longest = 0;
    for (const Column& column : m_columns)
        longest = std::max(longest, column.length);
    m_height = m_options.height > 0 ? m_options.height : static_cast<int>(std::ceil(longest - 1e-6));
    alignColumns();
    gatherBatches();
}

VerticalLayout::~VerticalLayout() = default;

int VerticalLayout::fontFor(const QString& grapheme, char32_t first)
{
    const QRawFont& chosen = m_fonts.front()->rawFont();
    if (chosen.supportsCharacter(first) || verticalClassOf(first) == VerticalClass::Blank)
        return 0;
    const QRawFont fallback = fallbackFont(m_font, grapheme);
    if (!isRealFont(fallback) || !fallback.supportsCharacter(first))
        return 0;
    for (std::size_t f = 0; f < m_fonts.size(); ++f) {
        if (m_fonts[f]->rawFont() == fallback)
            return static_cast<int>(f);
    }
    m_fonts.push_back(VerticalShaper::of(fallback));
    return static_cast<int>(m_fonts.size() - 1);
}

void VerticalLayout::noteMissing(char32_t c, int font)
{
    if (isDefaultIgnorable(c) || c < 0x20 || (c >= 0x7F && c < 0xA0) || verticalClassOf(c) == VerticalClass::Blank)
        return;
    const QRawFont& raw = m_fonts[static_cast<std::size_t>(font)]->rawFont();
    if (raw.supportsCharacter(c))
        return;
    if (font == 0) {
        const QRawFont fallback = fallbackFont(m_font, QString::fromUcs4(&c, 1));
        if (isRealFont(fallback) && fallback.supportsCharacter(c))
            return;
    }
    if (std::find(m_missingSeen.begin(), m_missingSeen.end(), c) != m_missingSeen.end())
        return;
    m_missingSeen.push_back(c);
    m_missing += QString::fromUcs4(&c, 1);
}

std::vector<VerticalLayout::Segment> VerticalLayout::segmentsOf(const QString& line,
                                                                const std::vector<Grapheme>& graphemes) const
{
    std::vector<Segment> segments;
    for (std::size_t i = 0; i < graphemes.size(); ++i) {
        const Grapheme& g = graphemes[i];
        // Combined text is one segment in the font of its first character.
        const bool joins =
            !segments.empty() && segments.back().orientation == g.orientation &&
            (g.orientation == Orientation::Combined ? i > 0 && graphemes[i - 1].orientation == Orientation::Combined
                                                    : segments.back().font == g.font);
        if (joins) {
            segments.back().end = g.end;
            continue;
        }
        Segment segment;
        segment.start = g.start;
        segment.end = g.end;
        segment.font = g.font;
        segment.orientation = g.orientation;
        segments.push_back(std::move(segment));
    }
    for (Segment& segment : segments) {
        const VerticalShaper& shaper = *m_fonts[static_cast<std::size_t>(segment.font)];
        segment.shaped =
            shaper.shape(line, segment.start, segment.end - segment.start, segment.orientation == Orientation::Upright);
    }
    return segments;
}

void VerticalLayout::layoutParagraph(int paragraphStart, int paragraphStop)
{
    QString line = m_text.mid(paragraphStart, paragraphStop - paragraphStart);
    for (QChar& c : line) {
        if (isLineSeparator(c.unicode()))
            c = u' ';
    }
    const int length = static_cast<int>(line.size());

    // Each character's font and class.
    std::vector<Grapheme> graphemes;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, line);
    for (int start = 0; start < length;) {
        int end = static_cast<int>(characters.toNextBoundary());
        if (end <= start)
            end = length;
        const QString text = line.mid(start, end - start);
        const char32_t first = codePointAt(line, start);
        Grapheme g;
        g.start = start;
        g.end = end;
        g.kind = verticalClassOf(first);
        g.font = fontFor(text, first);
        for (int i = start; i < end; ++i) {
            const char32_t c = codePointAt(line, i);
            if (c > 0xFFFF)
                ++i;
            if (forcesUpright(c))
                g.kind = VerticalClass::Upright;
            noteMissing(c, g.font);
        }
        graphemes.push_back(g);
        start = end;
    }

    // How each character stands: runs of half-width text turn, or stand upright together in
    // one em when short, or one by one when Latin text is set upright.
    const Orientation halfWidth = m_options.latinUpright ? Orientation::Upright : Orientation::Turned;
    for (std::size_t i = 0; i < graphemes.size();) {
        if (graphemes[i].kind == VerticalClass::Upright) {
            graphemes[i++].orientation = Orientation::Upright;
            continue;
        }
        std::size_t j = i;
        while (j < graphemes.size() && graphemes[j].kind != VerticalClass::Upright)
            ++j;
        std::size_t first = j;
        std::size_t last = i;
        for (std::size_t k = i; k < j; ++k) {
            graphemes[k].orientation = halfWidth;
            if (graphemes[k].kind == VerticalClass::Turned) {
                first = std::min(first, k);
                last = k;
            }
        }
        if (first < j && m_options.uprightDigits > 0 && last - first + 1 <= std::size_t(m_options.uprightDigits)) {
            for (std::size_t k = first; k <= last; ++k)
                graphemes[k].orientation = Orientation::Combined;
        }
        i = j;
    }

    const std::vector<Segment> segments = segmentsOf(line, graphemes);

    // Units: what a column never splits (a character, a ligature, combined text).
    std::vector<Unit> units;
    for (std::size_t s = 0; s < segments.size(); ++s) {
        const Segment& segment = segments[s];
        const std::vector<ShapedGlyph>& glyphs = segment.shaped.glyphs;
        if (segment.orientation == Orientation::Combined) {
            units.push_back(Unit{s, segment.start, segment.end, 0, m_em, 0, glyphs.size(), false});
            continue;
        }
        std::size_t g = 0;
        while (g < glyphs.size()) {
            std::size_t next = g + 1;
            int clusterEnd = segment.end;
            while (next < glyphs.size() && glyphs[next].cluster <= glyphs[g].cluster)
                ++next;
            if (next < glyphs.size())
                clusterEnd = glyphs[next].cluster;
            // Clusters go forward in both directions; a cluster out of order joins the unit before.
            Unit unit{s, glyphs[g].cluster, clusterEnd, glyphs[g].pen, 0, g, next, true};
            if (!units.empty() && units.back().segment == s && unit.start < units.back().end) {
                units.back().endGlyph = next;
                units.back().end = std::max(units.back().end, clusterEnd);
            } else {
                units.push_back(unit);
            }
            g = next;
        }
        for (std::size_t u = 0; u < units.size(); ++u) {
            if (units[u].segment != s)
                continue;
            const bool lastOfSegment = u + 1 == units.size() || units[u + 1].segment != s;
            units[u].advance = (lastOfSegment ? segment.shaped.advance : units[u + 1].pen) - units[u].pen;
        }
    }
    for (Unit& unit : units) {
        unit.blank = true;
        for (int i = unit.start; i < unit.end; ++i)
            unit.blank = unit.blank && verticalClassOf(line.at(i).unicode()) == VerticalClass::Blank;
    }

    if (units.empty()) {
        Column column;
        column.start = column.end = paragraphStart;
        m_columns.push_back(std::move(column));
        return;
    }

    // Where a column may break: Unicode's line breaks, less the places kinsoku forbids.
    std::vector<char> opportunity(static_cast<std::size_t>(length) + 1, 0);
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, line);
    for (qsizetype b = breaks.toNextBoundary(); b > 0 && b <= length; b = breaks.toNextBoundary())
        opportunity[static_cast<std::size_t>(b)] = 1;
    auto kinsokuAllows = [&](int at) {
        return !mayNotStartColumn(codePointAt(line, at)) && !mayNotEndColumn(codePointBefore(line, at));
    };

    const double height = m_options.height;
    std::size_t begin = 0;
    while (begin < units.size()) {
        std::size_t end = units.size();
        std::size_t good = 0;
        std::size_t allowed = 0;
        double along = 0;
        for (std::size_t u = begin; u < units.size(); ++u) {
            if (u > begin && kinsokuAllows(units[u].start)) {
                allowed = u;
                if (opportunity[static_cast<std::size_t>(units[u].start)])
                    good = u;
            }
            if (height > 0 && u > begin && !units[u].blank && along + units[u].advance > height + 1e-6) {
                end = good > begin ? good : allowed > begin ? allowed : u;
                break;
            }
            along += units[u].advance;
        }
        addColumn(units, segments, begin, end, paragraphStart, paragraphStop);
        begin = end;
        // Blanks where a column breaks belong to neither column.
        while (begin < units.size() && units[begin].blank)
            ++begin;
    }
}

void VerticalLayout::addColumn(const std::vector<Unit>& units, const std::vector<Segment>& segments, std::size_t begin,
                               std::size_t end, int paragraphStart, int paragraphStop)
{
    std::size_t shown = end;
    // Blanks at a break hang past the column's end; the paragraph's last blanks stay.
    if (end < units.size()) {
        while (shown > begin && units[shown - 1].blank)
            --shown;
    }
    Column column;
    column.start = paragraphStart + units[begin].start;
    column.end = shown == units.size() ? paragraphStop : paragraphStart + units[shown > begin ? shown - 1 : begin].end;
    if (shown == begin)
        column.end = column.start;

    const double shift = (m_fonts.front()->ascent() - m_fonts.front()->descent()) / 2;
    double along = 0;
    for (std::size_t u = begin; u < shown; ++u) {
        const Unit& unit = units[u];
        const Segment& segment = segments[unit.segment];
        const VerticalShaper& shaper = *m_fonts[static_cast<std::size_t>(segment.font)];
        column.cells.push_back(
            Cell{paragraphStart + unit.start, paragraphStart + unit.end, along, unit.advance, segment.orientation});
        const bool continues = u > begin && units[u - 1].segment == unit.segment;
        if (!continues) {
            Piece piece;
            piece.font = segment.font;
            piece.orientation = segment.orientation;
            piece.along = along - unit.pen;
            if (segment.orientation == Orientation::Combined) {
                piece.width = segment.shaped.advance;
                piece.scale = piece.width > m_em && piece.width > 0 ? m_em / piece.width : 1.0;
                piece.along = along + m_em / 2 + (shaper.ascent() - shaper.descent()) / 2;
            }
            column.pieces.push_back(std::move(piece));
        }
        Piece& piece = column.pieces.back();
        for (std::size_t g = unit.firstGlyph; g < unit.endGlyph; ++g) {
            const ShapedGlyph& glyph = segment.shaped.glyphs[g];
            QPointF position;
            switch (segment.orientation) {
            case Orientation::Upright:
                position = QPointF(glyph.offset.x(), glyph.pen + glyph.offset.y());
                break;
            case Orientation::Turned:
                position = QPointF(glyph.pen + glyph.offset.x(), glyph.offset.y() + shift);
                break;
            case Orientation::Combined:
                position = QPointF(glyph.pen + glyph.offset.x(), glyph.offset.y());
                break;
            }
            piece.glyphs.push_back(glyph.glyph);
            piece.positions.push_back(position);
            piece.clusters.push_back(paragraphStart + glyph.cluster);
        }
        along += unit.advance;
    }
    column.length = along;
    m_columns.push_back(std::move(column));
}

void VerticalLayout::alignColumns()
{
    const double share = m_options.align == LineAlignment::Center  ? 0.5
                         : m_options.align == LineAlignment::Right ? 1.0
                                                                   : 0.0;
    if (share == 0.0)
        return;
    for (Column& column : m_columns)
        column.offset = std::max(0.0, std::floor((m_height - column.length) * share + 1e-6));
}

void VerticalLayout::gatherBatches()
{
    struct Placed {
        quint32 glyph;
        QPointF screen;
        QPointF position;
    };
    std::vector<std::vector<Placed>> placed(2 * m_fonts.size());
    for (std::size_t k = 0; k < m_columns.size(); ++k) {
        const QPointF origin = columnOrigin(k, 0, 0);
        for (const Piece& piece : m_columns[k].pieces) {
            if (piece.orientation == Orientation::Combined)
                continue;
            const bool turned = piece.orientation == Orientation::Turned;
            std::vector<Placed>& into = placed[2 * static_cast<std::size_t>(piece.font) + (turned ? 1 : 0)];
            for (std::size_t g = 0; g < piece.glyphs.size(); ++g) {
                const QPointF p = piece.positions[g];
                // Turned a quarter clockwise about the piece's origin: (x, y) lies at (-y, x).
                const QPointF screen = turned ? QPointF(origin.x() - p.y(), origin.y() + piece.along + p.x())
                                              : QPointF(origin.x() + p.x(), origin.y() + piece.along + p.y());
                into.push_back(Placed{piece.glyphs[g], screen, turned ? QPointF(screen.y(), -screen.x()) : screen});
            }
        }
    }
    // Bands of rows a line high, left to right within each band.
    const double band = std::max(1, m_columnWidth);
    for (std::size_t b = 0; b < placed.size(); ++b) {
        std::vector<Placed>& glyphs = placed[b];
        if (glyphs.empty())
            continue;
        std::stable_sort(glyphs.begin(), glyphs.end(), [band](const Placed& l, const Placed& r) {
            const double lb = std::floor(l.screen.y() / band);
            const double rb = std::floor(r.screen.y() / band);
            return lb != rb ? lb < rb : l.screen.x() < r.screen.x();
        });
        Batch batch;
        batch.font = static_cast<int>(b / 2);
        batch.turned = b % 2 == 1;
        batch.glyphs.reserve(static_cast<qsizetype>(glyphs.size()));
        batch.positions.reserve(static_cast<qsizetype>(glyphs.size()));
        for (const Placed& glyph : glyphs) {
            batch.glyphs.push_back(glyph.glyph);
            batch.positions.push_back(glyph.position);
        }
        m_batches.push_back(std::move(batch));
    }
}

std::vector<VerticalLayout::ColumnSpan> VerticalLayout::columns() const
{
    std::vector<ColumnSpan> spans;
    for (const Column& column : m_columns)
        spans.push_back(ColumnSpan{column.start, column.end - column.start});
    return spans;
}

QPointF VerticalLayout::columnOrigin(std::size_t k, double x, double y) const
{
    // The first column is the rightmost; the origin is its centre line at the column's top.
    const double left = x + static_cast<double>(width()) - static_cast<double>(k + 1) * m_columnWidth;
    return {left + m_columnWidth / 2.0, y + m_columns[k].offset};
}

void VerticalLayout::drawGlyphs(QPainter& painter, const Piece& piece, QPointF origin, std::size_t from,
                                std::size_t to) const
{
    if (from >= to)
        return;
    QGlyphRun run;
    run.setRawFont(m_fonts[static_cast<std::size_t>(piece.font)]->rawFont());
    run.setGlyphIndexes(QList<quint32>(piece.glyphs.begin() + static_cast<std::ptrdiff_t>(from),
                                       piece.glyphs.begin() + static_cast<std::ptrdiff_t>(to)));
    run.setPositions(QList<QPointF>(piece.positions.begin() + static_cast<std::ptrdiff_t>(from),
                                    piece.positions.begin() + static_cast<std::ptrdiff_t>(to)));
    switch (piece.orientation) {
    case Orientation::Upright:
        painter.drawGlyphRun(QPointF(origin.x(), origin.y() + piece.along), run);
        break;
    case Orientation::Turned:
        painter.save();
        painter.translate(origin.x(), origin.y() + piece.along);
        painter.rotate(90);
        painter.drawGlyphRun(QPointF(0, 0), run);
        painter.restore();
        break;
    case Orientation::Combined:
        painter.save();
        painter.translate(origin.x() - piece.width * piece.scale / 2, origin.y() + piece.along);
        painter.scale(piece.scale, 1.0);
        painter.drawGlyphRun(QPointF(0, 0), run);
        painter.restore();
        break;
    }
}

void VerticalLayout::drawDecorations(QPainter& painter, QPointF origin, double from, double to,
                                     const QColor& color) const
{
    if ((!m_font.underline() && !m_font.strikeOut()) || to <= from)
        return;
    const int y0 = static_cast<int>(std::lround(origin.y() + from));
    const int y1 = static_cast<int>(std::lround(origin.y() + to));
    if (y1 <= y0)
        return;
    // The underline runs along the right of the characters, the strike-out through their middle.
    if (m_font.underline()) {
        const double right = std::min(m_em / 2 + m_underlinePos, m_columnWidth / 2.0 - m_decorationWidth);
        painter.fillRect(QRect(static_cast<int>(std::lround(origin.x() + right)), y0, m_decorationWidth, y1 - y0),
                         color);
    }
    if (m_font.strikeOut()) {
        const int x = static_cast<int>(std::lround(origin.x() - m_decorationWidth / 2.0));
        painter.fillRect(QRect(x, y0, m_decorationWidth, y1 - y0), color);
    }
}

void VerticalLayout::draw(QPainter& painter, double x, double y, const QColor& color) const
{
    painter.setPen(color);
    for (const Batch& batch : m_batches) {
        QGlyphRun run;
        run.setRawFont(m_fonts[static_cast<std::size_t>(batch.font)]->rawFont());
        run.setGlyphIndexes(batch.glyphs);
        run.setPositions(batch.positions);
        if (!batch.turned) {
            painter.drawGlyphRun(QPointF(x, y), run);
            continue;
        }
        painter.save();
        painter.translate(x, y);
        painter.rotate(90);
        painter.drawGlyphRun(QPointF(0, 0), run);
        painter.restore();
    }
    for (std::size_t k = 0; k < m_columns.size(); ++k) {
        const QPointF origin = columnOrigin(k, x, y);
        for (const Piece& piece : m_columns[k].pieces) {
            if (piece.orientation == Orientation::Combined)
                drawGlyphs(painter, piece, origin, 0, piece.glyphs.size());
        }
        drawDecorations(painter, origin, 0, m_columns[k].length, color);
    }
}

void VerticalLayout::drawColored(QPainter& painter, double x, double y, const std::vector<QColor>& unitColors) const
{
    const QColor fallback = painter.pen().color();
    auto colorAt = [&](int unit) {
        return static_cast<std::size_t>(unit) < unitColors.size() ? unitColors[static_cast<std::size_t>(unit)]
                                                                  : fallback;
    };
    for (std::size_t k = 0; k < m_columns.size(); ++k) {
        const QPointF origin = columnOrigin(k, x, y);
        for (const Cell& cell : m_columns[k].cells)
            drawDecorations(painter, origin, cell.along, cell.along + cell.advance, colorAt(cell.start));
        for (const Piece& piece : m_columns[k].pieces) {
            std::size_t from = 0;
            while (from < piece.glyphs.size()) {
                const QColor color = colorAt(piece.clusters[from]);
                std::size_t to = from + 1;
                while (to < piece.glyphs.size() && colorAt(piece.clusters[to]) == color)
                    ++to;
                painter.setPen(color);
                drawGlyphs(painter, piece, origin, from, to);
                from = to;
            }
        }
    }
}

std::vector<CharacterBox> VerticalLayout::characterBoxes(double x, double y) const
{
    std::vector<CharacterBox> boxes;
    for (std::size_t k = 0; k < m_columns.size(); ++k) {
        const QPointF origin = columnOrigin(k, x, y);
        for (const Cell& cell : m_columns[k].cells) {
            const QString text = m_text.mid(cell.start, cell.end - cell.start);
            std::vector<int> bounds{0};
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
            for (qsizetype b = graphemes.toNextBoundary(); b > 0; b = graphemes.toNextBoundary())
                bounds.push_back(static_cast<int>(b));
            if (bounds.back() != text.size())
                bounds.push_back(static_cast<int>(text.size()));
            const double n = static_cast<double>(bounds.size() - 1);
            const bool across = cell.orientation == Orientation::Combined;
            const double left = across ? origin.x() - m_em / 2 : origin.x() - m_columnWidth / 2.0;
            const double breadth = across ? m_em : m_columnWidth;
            for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
                const double part = static_cast<double>(i);
                const QRectF rect =
                    across ? QRectF(left + breadth * part / n, origin.y() + cell.along, breadth / n, cell.advance)
                           : QRectF(left, origin.y() + cell.along + cell.advance * part / n, breadth, cell.advance / n);
                boxes.push_back(CharacterBox{rect, text.mid(bounds[i], bounds[i + 1] - bounds[i])});
            }
        }
    }
    return boxes;
}

} // namespace sorvel
