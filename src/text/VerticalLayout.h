#pragma once
// Vertical text: columns run top to bottom and follow each other from right to left; every
// CR LF pair starts a new column, and a height wraps columns (between words and ideographs,
// keeping closing punctuation, the prolonged sound mark and small kana off a column's top and
// opening brackets off its bottom where the text allows it). Ideographs and kana stand upright
// in the font's vertical forms and metrics; runs of Latin letters, digits and other half-width
// text turn 90 degrees clockwise, except short runs, which stand upright side by side in one
// em. Characters the font lacks come from the font Qt falls back to, shaped with that font.

#include "text/CharacterBox.h"
#include "text/TextLayoutOptions.h"

#include <QFont>
#include <QList>
#include <QPointF>
#include <QString>

#include <memory>
#include <vector>

class QColor;
class QPainter;

namespace sorvel {

class VerticalShaper;

class VerticalLayout {
public:
    VerticalLayout(const QString& text, const QFont& font, const TextLayoutOptions& options);
    VerticalLayout(const VerticalLayout&) = delete;
    VerticalLayout& operator=(const VerticalLayout&) = delete;
    ~VerticalLayout();

    int columnCount() const { return static_cast<int>(m_columns.size()); }
    int columnWidth() const { return m_columnWidth; }
    // Every column side by side, in whole pixels.
    int width() const { return columnCount() * m_columnWidth; }
    // The longest column rounded up, or the options' height when given.
    int height() const { return m_height; }

    struct ColumnSpan {
        int start = 0; // index of the column's first unit in the text
        int length = 0;
    };
    // The part of the text each column shows, first (rightmost) column first; blanks where a
    // column breaks belong to neither column.
    std::vector<ColumnSpan> columns() const;

    // The block's top-left corner at (x, y).
    void draw(QPainter& painter, double x, double y, const QColor& color) const;
    // As draw, with a colour for every 16-bit unit of the text (CR LF included); a character
    // of several units takes the colour of its first unit.
    void drawColored(QPainter& painter, double x, double y, const std::vector<QColor>& unitColors) const;

    // One box a grapheme cluster, in reading order, in the coordinates of draw.
    std::vector<CharacterBox> characterBoxes(double x, double y) const;
    // Each distinct character no font could draw, in the order of first appearance.
    QString missingCharacters() const { return m_missing; }

private:
    enum class Orientation { Upright, Turned, Combined };

    struct Piece {
        int font = 0;
        Orientation orientation = Orientation::Upright;
        double along = 0; // from the column's top to the origin of the glyphs' positions
        double scale = 1; // combined text: squeezed into one em
        double width = 0; // combined text: its width before the squeeze
        std::vector<quint32> glyphs;
        std::vector<QPointF> positions;
        std::vector<int> clusters; // index in the text of each glyph's first unit
    };
    struct Cell {
        int start = 0;
        int end = 0;
        double along = 0;
        double advance = 0;
        Orientation orientation = Orientation::Upright;
    };
    struct Column {
        int start = 0;
        int end = 0;
        double length = 0;
        double offset = 0; // alignment along the column
        std::vector<Piece> pieces;
        std::vector<Cell> cells;
    };
    // Every upright or turned glyph of one font, in rows of the block rather than in columns, so
    // that drawing goes along the picture's rows: one glyph run for the whole block.
    struct Batch {
        int font = 0;
        bool turned = false;
        QList<quint32> glyphs;
        QList<QPointF> positions; // from the block's top-left; turned glyphs in the turned frame
    };
    struct Grapheme;
    struct Segment;
    struct Unit;

    void layoutParagraph(int start, int stop);
    int fontFor(const QString& grapheme, char32_t first);
    void noteMissing(char32_t c, int font);
    std::vector<Segment> segmentsOf(const QString& line, const std::vector<Grapheme>& graphemes) const;
    void addColumn(const std::vector<Unit>& units, const std::vector<Segment>& segments, std::size_t begin,
                   std::size_t end, int paragraphStart, int paragraphStop);
    void alignColumns();
    void gatherBatches();

    QPointF columnOrigin(std::size_t k, double x, double y) const;
    void drawGlyphs(QPainter& painter, const Piece& piece, QPointF origin, std::size_t from, std::size_t to) const;
    void drawDecorations(QPainter& painter, QPointF origin, double from, double to, const QColor& color) const;

    QString m_text;
    QFont m_font;
    TextLayoutOptions m_options;
    std::vector<std::shared_ptr<const VerticalShaper>> m_fonts; // the chosen font first
    std::vector<Column> m_columns;
    std::vector<Batch> m_batches;
    QString m_missing;
    std::vector<char32_t> m_missingSeen;
    int m_columnWidth = 0;
    int m_height = 0;
    double m_em = 0;
    int m_decorationWidth = 1;
    int m_underlinePos = 1;
};

} // namespace sorvel
