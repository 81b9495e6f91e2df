#pragma once
// The canvas: a persistent QImage with a fore and back colour, a font and a drawing position.
//
// Whole-pixel rule, used everywhere: a fractional size or position becomes the nearest whole
// pixel, halves to the even neighbour (1.12 -> 1, 52.5 -> 52). Sizes are limited to 32767
// pixels per side and 128 Mi pixels in area; a larger request gets the largest canvas within
// the limit, so text beyond it is cut at the edge.

#include "platform/ColorValue.h"
#include "render/CoverageMask.h"
#include "text/TextLayoutOptions.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace sorvel {

class CanvasSurface {
public:
#ifndef SORVEL_SMALL_LIMITS
    static constexpr int maxSide = 32767;
    static constexpr long long maxArea = 128LL * 1024 * 1024;
#else
    // The fuzz build: limits a short text reaches and a rendering covers quickly; a canvas
    // within 112 KiB comes from the sanitizer's pooled allocator, not from fresh pages.
    static constexpr int maxSide = 2047;
    static constexpr long long maxArea = 28LL * 1024;
#endif
    static constexpr int designWidth = 337; // 5055 twips
    static constexpr int designHeight = 57; // 855 twips

    CanvasSurface();

    // Called synchronously after every change of width or height.
    void setResizeListener(std::function<void()> listener);

    ColorValue foreColor() const
    {
        return m_foreColor;
    }
    void setForeColor(ColorValue color)
    {
        m_foreColor = color;
    }
    ColorValue backColor() const
    {
        return m_backColor;
    }
    void setBackColor(ColorValue color)
    {
        m_backColor = color;
    }
    const QFont& font() const
    {
        return m_font;
    }
    void setFont(const QFont& font)
    {
        m_font = font;
    }
    // Wrapping, alignment and line start of printed text; the default prints as described below.
    const TextLayoutOptions& layout() const
    {
        return m_layout;
    }
    void setLayout(const TextLayoutOptions& layout)
    {
        m_layout = layout;
    }
    // The opacity of BackColor, 255 unless asked otherwise. Below 255 the image is
    // Format_RGBA64_Premultiplied from the next clear on, and drawing keeps the text's
    // coverage in the alpha channel.
    int backAlpha() const
    {
        return m_backAlpha;
    }
    void setBackAlpha(int alpha)
    {
        m_backAlpha = alpha;
    }

    float currentX() const
    {
        return m_currentX;
    }
    float currentY() const
    {
        return m_currentY;
    }
    void setCurrentX(double x);
    void setCurrentY(double y);

    // Erases everything: the whole canvas shows BackColor.
    void clear();
    // Pixels drawn so far stay; new area shows BackColor; the listener is told.
    void setWidth(double width);
    void setHeight(double height);
    // Both sides at once, whatever the size was: the width within its limit, then the height
    // within what the area leaves. The listener is told once. Unlike a setWidth followed by a
    // setHeight, the result never depends on the height the canvas had before.
    void setSize(double width, double height);
    int scaleWidth() const
    {
        return m_width;
    }
    int scaleHeight() const
    {
        return m_height;
    }

    // Copies picture's pixels with its top-left corner at (x, y), cut at the edges.
    // Fails with BadArgument for a picture that holds nothing.
    void drawPicture(const QImage& picture, int x, int y);
    // Exactly what drawing the tile at every (i * tile width, j * tile height) with
    // 0 <= x <= right and 0 <= y <= bottom gives, in one pass.
    void drawTiled(const QImage& tile, int right, int bottom);

    // Prints text in the font and ForeColor at the drawing position, transparently. A CR LF
    // pair starts a new line at x = 0 one line height lower. With lineEnd the position moves
    // to the start of the next line, else it stays right after the last character.
    void print(const QString& text, bool lineEnd);
    // As print, but every 16-bit unit i has its own colour unitColors[i]; a character made
    // of several units (surrogate pair, combining marks, emoji sequence) takes the colour of
    // its first unit. Glyphs land exactly where print puts them.
    void printColored(const QString& text, const std::vector<ColorValue>& unitColors, bool lineEnd);
    // As print, but a colour emoji is drawn as its shape in ForeColor, as every other glyph is:
    // what a shadow draws.
    void printSilhouette(const QString& text, bool lineEnd);

    // The text as print would draw it from (x, y), with the same layout, font, colour and whole
    // pixels, alone on a see-through image of the canvas's size: its alpha channel is the
    // silhouette of exactly what print draws.
    QImage inkOf(const QString& text, double x, double y) const;
    // Draws such an image over the canvas: the same pixels as printing the text there.
    void drawOver(const QImage& ink);
    // Paints each layer's colour (alpha included) over the canvas as far as its mask, of the
    // canvas's size, covers each pixel; every layer above the ones before it.
    struct CoverageLayer {
        const CoverageMask* mask;
        QColor color;
    };
    void paintCoverage(std::span<const CoverageLayer> layers);

    // One-pixel outline between two corners, both included.
    void outlineRect(int x1, int y1, int x2, int y2, ColorValue color);

    // The finished image (null while the canvas has no area).
    const QImage& image() const;

private:
    QColor backFill() const;
    void resizeImage(int width, int height);
    void makeImageCurrent() const;
    void printLines(const QString& text, const std::vector<ColorValue>* unitColors, bool lineEnd,
                    bool silhouette = false);

    // Made when it is first drawn on or read: a blank canvas that is cleared and resized
    // several times in a row is filled once, at its last size.
    mutable QImage m_image;
    mutable bool m_imageStale = false; // m_image is not yet the blank canvas of this size
    int m_width = designWidth;
    int m_height = designHeight;
    ColorValue m_foreColor = systemWindowText;
    ColorValue m_backColor = systemWindowBackground;
    QFont m_font;
    TextLayoutOptions m_layout;
    int m_backAlpha = 255;
    float m_currentX = 0.0f;
    float m_currentY = 0.0f;
    std::function<void()> m_listener;
    // The colour every pixel has while nothing was drawn since the canvas was last filled: a
    // resize then only has to fill the new canvas, not copy the old one.
    std::optional<QRgb> m_blankFill;
    // What inkOf draws on, kept from one rendering to the next.
    mutable QImage m_ink;
};

} // namespace sorvel
