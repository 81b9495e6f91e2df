#pragma once
// What vertical text needs to know of a character: whether it stands upright in a column or
// turns with the Latin text around it, and where a column may not begin or end.

namespace sorvel {

enum class VerticalClass {
    Upright, // ideographs, kana, full-width forms, most symbols and emoji: one cell each
    Turned,  // Latin, digits and other half-width text: turned 90 degrees clockwise
    Blank,   // a half-width space: turned with the text around it
};

VerticalClass verticalClassOf(char32_t c);

// Characters that stand upright whatever the characters around them are: emoji presentation
// and keycap marks make the whole character upright.
bool forcesUpright(char32_t c);

// Closing brackets and punctuation, the prolonged sound mark, small kana, iteration marks:
// not at the top of a column where the text allows it.
bool mayNotStartColumn(char32_t c);

// Opening brackets: not at the bottom of a column where the text allows it.
bool mayNotEndColumn(char32_t c);

// Characters no font draws and none needs to: joiners, variation selectors, tags.
bool isDefaultIgnorable(char32_t c);

} // namespace sorvel
