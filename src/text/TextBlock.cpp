#include "text/TextBlock.h"

#include "text/ColorEmoji.h"
#include "text/LineWrapping.h"
#include "text/PaintDevice.h"
#include "text/VerticalLayout.h"

#include <QColor>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextBoundaryFinder>

#include <unicode/uchar.h>

#include <algorithm>
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

using Formats = QList<QTextLayout::FormatRange>;

// The emoji of text in the colour emoji font; nothing where none is installed. text becomes
// the text the colour font shapes.
Formats emojiFormats(QString& text)
{
    Formats formats;
    const QString& family = colorEmojiFamily();
    if (family.isEmpty())
        return formats;
    const std::vector<TextRange> ranges = emojiRanges(text);
    if (ranges.empty())
        return formats;
    text = forColorEmojiShaping(text, ranges);
    for (const TextRange& range : ranges) {
        QTextLayout::FormatRange format;
        format.start = range.start;
        format.length = range.length;
        format.format.setFontFamilies({family});
        formats.push_back(format);
    }
    return formats;
}

// The formats of the part [start, start + length) of their text, as formats of that part.
Formats formatsWithin(const Formats& formats, int start, int length)
{
    Formats within;
    for (const QTextLayout::FormatRange& format : formats) {
        const int from = std::max(format.start, start);
        const int to = std::min(format.start + format.length, start + length);
        if (from < to) {
            QTextLayout::FormatRange part = format;
            part.start = from - start;
            part.length = to - from;
            within.push_back(part);
        }
    }
    return within;
}

std::unique_ptr<QTextLayout> layoutLine(const QString& text, const QFont& font, const Formats& formats)
{
    auto layout = std::make_unique<QTextLayout>(text, font, &paintDevice96());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout->setTextOption(option);
    layout->setFormats(formats);
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

// Qt's stand-in engine, which draws a box for a script no installed font covers, has none of
// a font file's tables.
bool isStandInFont(const QRawFont& font)
{
    return font.fontTable("head").isEmpty();
}

// Glyphs of the colour emoji font, each drawn once a thread and size: Qt draws a colour bitmap
// scaled to the text's size by decoding it from the font anew every time.
class ColorGlyphCache {
public:
    // Draws the glyph with its origin at the whole pixel nearest to at; with a silhouette
    // colour, its shape in that colour.
    void draw(QPainter& painter, const QRawFont& font, quint32 glyph, QPointF at, const QColor* silhouette)
    {
        const Entry& entry = entryFor(font, glyph);
        if (entry.image.isNull())
            return;
        const QPoint corner =
            QPoint(static_cast<int>(std::lround(at.x())), static_cast<int>(std::lround(at.y()))) + entry.offset;
        if (!silhouette) {
            painter.drawImage(corner, entry.image);
            return;
        }
        QImage shape = entry.image.copy();
        QPainter tint(&shape);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(shape.rect(), *silhouette);
        tint.end();
        painter.drawImage(corner, shape);
    }

private:
    struct Entry {
        QRawFont font;
        quint32 glyph = 0;
        QImage image;
        QPoint offset; // of the image's top-left corner from the glyph's origin
    };

    const Entry& entryFor(const QRawFont& font, quint32 glyph)
    {
        const std::size_t key = qHash(font) ^ (std::size_t(glyph) * 0x9E3779B97F4A7C15ull);
        auto& bucket = m_entries[key];
        for (const Entry& entry : bucket) {
            if (entry.glyph == glyph && entry.font == font)
                return entry;
        }
        if (m_count >= maxEntries) {
            m_entries.clear();
            m_count = 0;
        }
        Entry entry{font, glyph, {}, {}};
        const QRect area = font.boundingRect(glyph).toAlignedRect().adjusted(-2, -2, 2, 2);
        if (!area.isEmpty()) {
            entry.image = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
            if (!entry.image.isNull()) {
                entry.image.fill(Qt::transparent);
                QGlyphRun single;
                single.setRawFont(font);
                single.setGlyphIndexes({glyph});
                single.setPositions({QPointF(0, 0)});
                QPainter painter(&entry.image);
                painter.drawGlyphRun(-QPointF(area.topLeft()), single);
            }
            entry.offset = area.topLeft();
        }
        ++m_count;
        auto& stored = m_entries[key];
        stored.push_back(std::move(entry));
        return stored.back();
    }

    static constexpr std::size_t maxEntries = 2048;
    std::unordered_map<std::size_t, std::vector<Entry>> m_entries;
    std::size_t m_count = 0;
};

bool isColorEmojiFont(const QRawFont& font)
{
    const QString& family = colorEmojiFamily();
    return !family.isEmpty() && font.isValid() && !isStandInFont(font) && font.familyName() == family;
}

// Draws run (without decorations) at origin; glyphs of the colour emoji font from the cache,
// in their colours or, given a silhouette colour, as their shapes in it.
void drawRun(QPainter& painter, QPointF origin, const QGlyphRun& run, const QColor* silhouette = nullptr)
{
    const QRawFont font = run.rawFont();
    if (!isColorEmojiFont(font)) {
        painter.drawGlyphRun(origin, undecorated(run));
        return;
    }
    thread_local ColorGlyphCache cache;
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype g = 0; g < indexes.size(); ++g)
        cache.draw(painter, font, indexes[g], origin + positions[g], silhouette);
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
    : m_text(text), m_font(font), m_layoutFont(font), m_options(options)
{
    const QFontMetrics metrics(font, &paintDevice96());
    m_lineHeight = metrics.height();
    const double spacing = std::isfinite(options.letterSpacing) ? options.letterSpacing : 0.0;
    const int em = font.pixelSize() > 0 ? font.pixelSize() : m_lineHeight;
    m_letterSpacing = std::max(spacing, -0.5 * em);
    if (m_letterSpacing != 0.0)
        m_layoutFont.setLetterSpacing(QFont::AbsoluteSpacing, m_letterSpacing);
    const double lineSpacing = std::isfinite(options.lineSpacing) ? options.lineSpacing : 1.0;
    m_linePitch =
        lineSpacing == 1.0 ? m_lineHeight : std::max(1, static_cast<int>(std::lround(m_lineHeight * lineSpacing)));
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
    for (const Line& line : m_lines)
        widest = std::max(widest, lineAdvance(line.layout->lineAt(0)));
    m_width = static_cast<int>(std::ceil(widest - 1e-6));
    if (m_options.width > 0)
        m_width = m_options.width;
    if (m_options.align != LineAlignment::Left)
        alignLines();
}

void TextBlock::addLines(const QString& text, qsizetype start, qsizetype stop)
{
    QString paragraph = text.mid(start, stop - start);
    const WrapMode wrap = m_options.width > 0 ? m_options.wrap : WrapMode::None;
    const Formats formats = emojiFormats(paragraph);
    // The wrapping layout counts the spacing after a line's last character, which the line
    // leaves out: the width grows by it.
    const int wrapWidth =
        m_options.width > 0 ? std::max(1, static_cast<int>(std::floor(m_options.width + m_letterSpacing))) : 0;
    for (const LineSpan& span : wrapLine(paragraph, m_layoutFont, wrapWidth, wrap, formats)) {
        Line line;
        line.start = static_cast<int>(start) + span.start;
        line.layout = layoutLine(lineTextOf(paragraph.mid(span.start, span.length)), m_layoutFont,
                                 formatsWithin(formats, span.start, span.length));
        m_lines.push_back(std::move(line));
    }
}

void TextBlock::alignLines()
{
    const double share = m_options.align == LineAlignment::Center  ? 0.5
                         : m_options.align == LineAlignment::Right ? 1.0
                                                                   : 0.0;
    for (Line& line : m_lines) {
        const double advance = lineAdvance(line.layout->lineAt(0));
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
    if (m_vertical)
        return m_vertical->height();
    return m_lines.empty() ? 0 : (lineCount() - 1) * m_linePitch + m_lineHeight;
}

double TextBlock::lastLineAdvance() const
{
    if (m_lines.empty())
        return 0.0;
    return lineAdvance(m_lines.back().layout->lineAt(0));
}

double TextBlock::lineAdvance(const QTextLine& line) const
{
    if (!line.isValid())
        return 0.0;
    if (line.textLength() == 0 || m_letterSpacing == 0.0)
        return line.horizontalAdvance();
    return std::max(0.0, line.horizontalAdvance() - m_letterSpacing);
}

QPointF TextBlock::lineOrigin(std::size_t k, double x, double y, const QTextLine& line) const
{
    // Glyph runs sit on the line's own ascent; lines are spaced by the font's line height.
    const double start = k == 0 ? x : static_cast<double>(m_options.lineStart);
    return {start + m_lines[k].offset, baseline(k, y) - line.ascent()};
}

double TextBlock::baseline(std::size_t k, double y) const
{
    return y + static_cast<double>(k) * m_linePitch + m_ascent;
}

void TextBlock::draw(QPainter& painter, double x, double y, const QColor& color) const
{
    drawLines(painter, x, y, color, false);
}

void TextBlock::drawSilhouette(QPainter& painter, double x, double y, const QColor& color) const
{
    drawLines(painter, x, y, color, true);
}

void TextBlock::drawLines(QPainter& painter, double x, double y, const QColor& color, bool silhouette) const
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
            drawRun(painter, origin, run, silhouette ? &color : nullptr);
        drawDecorations(painter, origin.x(), origin.x() + lineAdvance(line), baseline(k, y), color);
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
            // The spacing after the line's last character is no part of the line.
            const double end = m_letterSpacing == 0.0 ? textLine.cursorToX(to)
                                                      : std::min(textLine.cursorToX(to), lineAdvance(textLine));
            drawDecorations(painter, origin.x() + textLine.cursorToX(from), origin.x() + end, base, color);
            for (QGlyphRun run : textLine.glyphRuns(from, to - from)) {
                run = undecorated(run);
                if (shared.filter(run))
                    drawRun(painter, origin, run);
            }
            shared.nextSegment();
        });
    }
}

namespace {

// Calls cluster(from, to) for each user-perceived character of text.
template <class Cluster> void forEachCluster(const QString& text, Cluster cluster)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    int from = 0;
    for (qsizetype next = graphemes.toNextBoundary(); next > 0; next = graphemes.toNextBoundary()) {
        cluster(from, static_cast<int>(next));
        from = static_cast<int>(next);
    }
}

bool hasMissingGlyph(const QGlyphRun& run)
{
    const QList<quint32> indexes = run.glyphIndexes();
    if (indexes.isEmpty())
        return false;
    return isStandInFont(run.rawFont()) || indexes.contains(0u);
}

// The pixels the runs cover when drawn from origin, found by drawing them: the fonts' own
// bounds are those of the unhinted outlines, a pixel larger than the hinted glyphs on a side.
QRect inkOf(const QList<QGlyphRun>& runs, QPointF origin)
{
    QRectF reach;
    for (const QGlyphRun& run : runs) {
        const QRawFont font = run.rawFont();
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype g = 0; g < indexes.size(); ++g)
            reach |= font.boundingRect(indexes[g]).translated(origin + positions[g]);
    }
    if (reach.isEmpty())
        return {};
    // Whole pixels and two more on every side, so that the glyphs fall on the same pixels.
    const QRect area = reach.toAlignedRect().adjusted(-2, -2, 2, 2);
    QImage scratch(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (scratch.isNull())
        return {};
    scratch.fill(Qt::transparent);
    {
        QPainter painter(&scratch);
        painter.translate(-area.topLeft());
        painter.setPen(Qt::black);
        for (const QGlyphRun& run : runs)
            drawRun(painter, origin, run);
    }
    int left = area.width();
    int right = -1;
    int topRow = area.height();
    int bottomRow = -1;
    for (int y = 0; y < scratch.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < scratch.width(); ++x) {
            if (qAlpha(row[x]) == 0)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            topRow = std::min(topRow, y);
            bottomRow = std::max(bottomRow, y);
        }
    }
    if (right < 0)
        return {};
    return QRect(QPoint(left, topRow), QPoint(right, bottomRow)).translated(area.topLeft());
}

// Characters that are never drawn themselves (joiners, variation selectors, tags).
bool isInvisible(char32_t c)
{
    return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_DEFAULT_IGNORABLE_CODE_POINT) != 0;
}

} // namespace

std::vector<CharacterBox> TextBlock::characterBoxes(double x, double y) const
{
    if (m_vertical)
        return m_vertical->characterBoxes(x, y);
    std::vector<CharacterBox> boxes;
    for (std::size_t k = 0; k < m_lines.size(); ++k) {
        const Line& line = m_lines[k];
        const QTextLine textLine = line.layout->lineAt(0);
        if (!textLine.isValid() || textLine.textLength() == 0)
            continue;
        const QPointF origin = lineOrigin(k, x, y, textLine);
        const double top = std::round(y + static_cast<double>(k) * m_linePitch);
        forEachCluster(line.layout->text(), [&](int from, int to) {
            const double a = textLine.cursorToX(from);
            const double b = textLine.cursorToX(to);
            const double left = std::round(origin.x() + std::min(a, b));
            const double right = std::max(left, std::round(origin.x() + std::max(a, b) - m_letterSpacing));
            QRectF rect(left, top, right - left, m_lineHeight);
            const QRect ink = inkOf(textLine.glyphRuns(from, to - from), origin);
            if (!ink.isEmpty())
                rect = rect.united(QRectF(ink));
            boxes.push_back({rect, m_text.mid(line.start + from, to - from)});
        });
    }
    return boxes;
}

QString TextBlock::missingCharacters() const
{
    if (m_vertical)
        return m_vertical->missingCharacters();
    QString missing;
    std::unordered_set<char32_t> seen;
    for (const Line& line : m_lines) {
        const QTextLine textLine = line.layout->lineAt(0);
        if (!textLine.isValid() || textLine.textLength() == 0)
            continue;
        const QList<QGlyphRun> runs = textLine.glyphRuns();
        if (std::none_of(runs.begin(), runs.end(), hasMissingGlyph))
            continue;
        const QString& text = line.layout->text();
        forEachCluster(text, [&](int from, int to) {
            const QList<QGlyphRun> clusterRuns = textLine.glyphRuns(from, to - from);
            if (std::none_of(clusterRuns.begin(), clusterRuns.end(), hasMissingGlyph))
                return;
            // The characters of the cluster that none of its fonts has; where all are
            // invisible or had, the cluster's first one.
            const QList<uint> characters = QStringView(text).mid(from, to - from).toUcs4();
            QList<char32_t> lacking;
            for (const char32_t c : characters) {
                if (isInvisible(c))
                    continue;
                const bool had = std::any_of(clusterRuns.begin(), clusterRuns.end(), [c](const QGlyphRun& run) {
                    const QRawFont font = run.rawFont();
                    return !isStandInFont(font) && font.supportsCharacter(static_cast<uint>(c));
                });
                if (!had)
                    lacking.push_back(c);
            }
            if (lacking.isEmpty() && !characters.isEmpty())
                lacking.push_back(characters.front());
            for (const char32_t c : lacking) {
                if (seen.insert(c).second)
                    missing += QString::fromUcs4(&c, 1);
            }
        });
    }
    return missing;
}

} // namespace sorvel
