#pragma once
// Shaping with HarfBuzz over the very font Qt draws with: the HarfBuzz face reads its tables
// from the QRawFont, so the glyph ids it returns are drawn by QPainter::drawGlyphRun with that
// same raw font. Top-to-bottom shaping applies the font's vertical alternates and its vertical
// metrics (one em a glyph where the font has none).

#include <QPointF>
#include <QRawFont>
#include <QStringView>

#include <memory>
#include <vector>

namespace sorvel {

struct ShapedGlyph {
    quint32 glyph = 0;
    int cluster = 0; // index of the glyph's first unit within the text given to shape()
    double pen = 0;  // the pen along the run before this glyph, in pixels
    QPointF offset;  // where the glyph's drawing origin lies from the pen, in pixels, y down
};

struct ShapedRun {
    std::vector<ShapedGlyph> glyphs;
    double advance = 0; // the whole run along its direction, in pixels
};

class VerticalShaper {
public:
    // The shaper of font, shared by every layout of the same thread that uses it.
    static std::shared_ptr<const VerticalShaper> of(const QRawFont& font);

    explicit VerticalShaper(const QRawFont& font);
    VerticalShaper(const VerticalShaper&) = delete;
    VerticalShaper& operator=(const VerticalShaper&) = delete;
    ~VerticalShaper();

    // Shapes text[start, start + length) with the rest of text as context: top to bottom when
    // vertical (the pen moves down, y grows downwards), else left to right.
    ShapedRun shape(QStringView text, qsizetype start, qsizetype length, bool vertical) const;

    const QRawFont& rawFont() const { return m_rawFont; }
    double em() const { return m_em; }
    double ascent() const { return m_ascent; }   // above the baseline, positive
    double descent() const { return m_descent; } // below the baseline, positive

private:
    struct Handles;
    QRawFont m_rawFont;
    std::unique_ptr<Handles> m_hb;
    double m_em = 0;
    double m_ascent = 0;
    double m_descent = 0;
};

} // namespace sorvel
