#pragma once
// Every input of one rendering, with the window's start-up values.

#include "image/ImageFormatTable.h"
#include "platform/ColorValue.h"
#include "render/PictureMargins.h"
#include "text/TextLayoutOptions.h"
#include "text/FontSystem.h"

#include <QString>

namespace sorvel {

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
    TextLayoutOptions Layout; // width, wrapping, alignment (the renderer sets the line start)
    PictureMargins Margins;
    int BackAlpha = 255; // opacity of BackColor; below 255 the image has alpha

    bool operator==(const TextImageSettings&) const = default;
};

} // namespace sorvel
