#pragma once
// Emoji in colour: which characters of a text show as emoji, and the installed font that draws
// them in colour. Qt's own fallback takes the first font that has a glyph, often a text font
// with a black-and-white emoji; a text block gives the emoji the colour font explicitly.

#include <QString>
#include <QStringView>

#include <vector>

namespace sorvel {

struct TextRange {
    int start = 0;
    int length = 0;

    bool operator==(const TextRange&) const = default;
};

// The family of an installed colour emoji font (colour bitmaps or colour layers), or an empty
// string when there is none. Looked up once; safe from any thread.
const QString& colorEmojiFamily();

// The user-perceived characters (grapheme clusters) of text that show as emoji, in order,
// neighbours merged: a character of emoji presentation (😀), one made emoji by U+FE0F (❤️), a
// keycap (1️⃣), a character with a skin tone (👍🏽), a ZWJ sequence (👩‍💻) and a flag (🇯🇵, and
// the tag flags). A character asking for text presentation (U+FE0E) is no emoji.
std::vector<TextRange> emojiRanges(QStringView text);

// The text the colour font is to shape, as long as text: within ranges, every emoji
// presentation selector (U+FE0F) becomes a zero width joiner when the colour font has no glyph
// for the selector. Qt would otherwise give the selector a font that has one, which splits the
// emoji between two fonts and leaves a keycap (1️⃣) as a digit beside an empty key. The font
// ignores the joiner where it forms no sequence, as it would the selector.
QString forColorEmojiShaping(QStringView text, const std::vector<TextRange>& ranges);

} // namespace sorvel
