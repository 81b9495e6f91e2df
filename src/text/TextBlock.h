#pragma once
// A text laid out the way the canvas prints it and the label measures it: one line per CR LF
// pair, no wrapping, each line shaped once as a whole. Lines after the first start at x = 0.
// Layout options (TextLayoutOptions.h) can wrap the lines to a width, align them and move
// where later lines start; the default options give exactly the layout above.
// Measuring and drawing share one layout, so the measured size always covers the printed text
// and colouring glyphs never moves them. Emoji are drawn from the installed colour emoji font
// (ColorEmoji.h), at the text's size.

#include "text/CharacterBox.h"
#include "text/TextLayoutOptions.h"

#include <QFont>
#include <QString>
#include <QTextLayout>

#include <memory>
#include <vector>

class QColor;
class QPainter;

namespace sorvel {

class VerticalLayout;

class TextBlock {
public:
    TextBlock(const QString& text, const QFont& font, const TextLayoutOptions& options = {});
    TextBlock(const TextBlock&) = delete;
    TextBlock& operator=(const TextBlock&) = delete;
    ~TextBlock();

    // The layout of text in font, reused while both stay the same (a small per-thread cache:
    // one rendering measures, shadows and prints the same text).
    static std::shared_ptr<const TextBlock> of(const QString& text, const QFont& font,
                                               const TextLayoutOptions& options = {});

    int lineCount() const { return static_cast<int>(m_lines.size()); }
    int lineHeight() const { return m_lineHeight; }
    // From one line's top to the next one's: the line height times the options' line spacing,
    // in whole pixels (at least one).
    int linePitch() const { return m_linePitch; }
    // The widest line in whole pixels, rounded up (the options' width when given). The letter
    // spacing after a line's last character is no part of the line.
    int width() const { return m_width; }
    // From the first line's top to the last one's bottom (vertical text: the columns' height).
    int height() const;
    double lastLineAdvance() const;

    // Draws every line; the first line starts at (x, y), later lines at the options' line start
    // and y + k * line height, each moved by its alignment.
    void draw(QPainter& painter, double x, double y, const QColor& color) const;
    // As draw, with colour emoji too as their shapes in color: for a shadow or an outline.
    void drawSilhouette(QPainter& painter, double x, double y, const QColor& color) const;
    // As draw, with a colour for every 16-bit unit of the original text (CR LF included).
    // A character of several units takes the colour of its first unit; a glyph shared by
    // characters of different colours (a ligature) is drawn once, in the first one's colour.
    void drawColored(QPainter& painter, double x, double y, const std::vector<QColor>& unitColors) const;

    // One box for every user-perceived character (grapheme cluster) of the lines as draw(x, y)
    // places them, in reading order: the character's advance (without the letter spacing after
    // it) by the line's height, grown to cover any ink that reaches beyond it, in whole pixels.
    // A blank has its box; the blanks where a line wraps and the line breaks have none.
    std::vector<CharacterBox> characterBoxes(double x, double y) const;
    // The characters (code points) no installed font could draw, which are drawn as empty boxes,
    // each once, in the order they first appear; empty when every character has a glyph.
    QString missingCharacters() const;

private:
    struct Line {
        int start = 0; // index of the line's first unit in the original text
        std::unique_ptr<QTextLayout> layout;
        double offset = 0.0; // from the line's start to its aligned place
    };

    void addLines(const QString& text, qsizetype start, qsizetype stop);
    void alignLines();

    QPointF lineOrigin(std::size_t k, double x, double y, const QTextLine& line) const;
    double lineAdvance(const QTextLine& line) const;
    void drawLines(QPainter& painter, double x, double y, const QColor& color, bool silhouette) const;
    double baseline(std::size_t k, double y) const;
    void drawDecorations(QPainter& painter, double left, double right, double baseline, const QColor& color) const;

    QString m_text;
    QFont m_font;
    QFont m_layoutFont; // m_font with the letter spacing
    TextLayoutOptions m_options;
    double m_letterSpacing = 0.0;
    std::vector<Line> m_lines;
    int m_lineHeight = 0;
    int m_linePitch = 0;
    int m_ascent = 0;
    int m_width = 0;
    int m_underlinePos = 1;
    int m_strikeOutPos = 0;
    int m_decorationWidth = 1;

    // Vertical text: the columns take the place of the lines, and the block forwards its size
    // and its drawing to them.
    std::unique_ptr<const VerticalLayout> m_vertical;

public:
    // The columns of vertical text; nullptr for horizontal text.
    const VerticalLayout* vertical() const { return m_vertical.get(); }
};

} // namespace sorvel
