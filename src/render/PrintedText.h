#pragma once
// The text as a rendering printed it: its font, layout and drawing position, as the canvas had
// them, and what they give: a box for every character, and the characters no font could draw.
// Both come from the very text block the canvas drew, so they always agree with the picture.

#include "text/CharacterBox.h"
#include "text/TextLayoutOptions.h"

#include <QFont>
#include <QPointF>
#include <QString>

#include <vector>

namespace sorvel {

struct TextPlacement {
    bool printed = false; // false: the rendering printed no text (its layout found no memory)
    QFont font;
    TextLayoutOptions layout;
    QPointF origin; // where the first line starts, in whole pixels of the picture
};

// The boxes of text's characters in the picture, in reading order; none when nothing was printed.
std::vector<CharacterBox> printedCharacterBoxes(const QString& text, const TextPlacement& placement);

// The characters of text that no installed font (nor the font file drawn with) could draw.
QString printedMissingCharacters(const QString& text, const TextPlacement& placement);

} // namespace sorvel
