#pragma once
// Every input of one rendering, with the window's start-up values.

#include "image/ImageFormatTable.h"
#include "platform/ColorValue.h"
#include "render/PictureMargins.h"
#include "text/TextLayoutOptions.h"
#include "text/FontSystem.h"

#include <QPoint>
#include <QString>

#include <optional>
#include <vector>

namespace sorvel {

// One outline: a band of width pixels around the shape inside it (the glyphs, or the outline
// before it), in one colour.
struct TextOutline {
    int width = 1;
    ColorValue color = rgbColor(0, 0, 0);
    int alpha = 255; // opacity of color

    bool operator==(const TextOutline&) const = default;
};

// How the shadow looks beyond the window's own: each value left empty keeps the window's.
struct ShadowLook {
    std::optional<ColorValue> color; // empty: the palette's light grey
    int alpha = 255;                 // opacity of color
    std::optional<QPoint> offset;    // empty: a share of the size box's number, right and down
    int blur = 0;                    // reach of a soft shadow in pixels; 0: sharp

    bool isWindows() const { return *this == ShadowLook{}; }
    bool operator==(const ShadowLook&) const = default;
};

struct TextImageSettings {
    QString Text; // line breaks as CR LF
    QString FontName = defaultFontName;
    float FontSize = static_cast<float>(designFontPoints); // as the font system realises it
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderline = false;
    bool FontStrikethrough = false;
    QString SizeText = QStringLiteral("14"); // the size box's text; only the shadow offset uses it
    ColorValue ForeColor = systemWindowText;
    ColorValue BackColor = systemWindowBackground;
    QString backgroundPicture;                        // empty: no background picture
    NameEndings pictureEndings = NameEndings::Window; // which endings name a background picture
    bool Shadow = false;
    bool Rainbow = false;
    bool Framed = false;
    // Beyond the window: none of these is set by it, and their defaults draw its picture.
    std::vector<TextOutline> Outlines; // from the glyphs outwards, beneath the text
    ShadowLook ShadowStyle;            // used while Shadow is on
    TextLayoutOptions Layout;          // width, wrapping, alignment (the renderer sets the line start)
    PictureMargins Margins;
    int BackAlpha = 255; // opacity of BackColor; below 255 the image has alpha

    bool operator==(const TextImageSettings&) const = default;
};

} // namespace sorvel
