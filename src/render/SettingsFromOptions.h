#pragma once
// Settings from the words a script writes: a colour as a palette index or #RRGGBB, the size
// box's text as the fonts take it, and any line breaks as the CR LF pairs the renderer prints.

#include "platform/ColorValue.h"

#include <QString>

#include <optional>

namespace sorvel {

// "0" .. "15": that palette entry; "#RRGGBB" (hexadecimal, either case): that direct colour.
// Anything else (blanks, "16", "#FFF", "red") gives no value.
std::optional<ColorValue> colorFromText(const QString& text);

// The font size that a size text gives, the way the size box sets it: the text converted to a
// number (textToNumber) and realised by the font system. Fails as they fail: NotANumber for
// a text that is no number, OutOfRange for a number too large, BadArgument for a size the font
// system refuses.
float fontSizeFromText(const QString& sizeText);

// Every line break (LF, CR LF, or a lone CR) as one CR LF pair.
QString withCrLfLineBreaks(const QString& text);

} // namespace sorvel
