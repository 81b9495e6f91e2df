#pragma once
// How a text block places its lines beyond the window's plain layout: a fixed width lines wrap
// to, where they may break, how each line sits within the block's width, and where lines after
// the first start, the room between characters and between lines. The default is the window's
// layout: one line per CR LF pair, left aligned, as wide as the widest line. Vertical text has
// columns in place of lines (VerticalLayout.h): its height wraps them, and its alignment runs
// along them (left, center, right as top, center, bottom).

namespace sorvel {

enum class WrapMode {
    None,      // lines never break; a line wider than the block is cut at its edge
    Word,      // between words (Unicode line breaking: between ideographs too), inside a
               // word only when the word alone is wider than the block
    Character, // between any two characters
};

enum class LineAlignment { Left, Center, Right };

struct TextLayoutOptions {
    int width = 0;                  // the block's width in pixels; 0: the widest line's
    WrapMode wrap = WrapMode::None; // used only with a width
    LineAlignment align = LineAlignment::Left;
    int lineStart = 0; // x of every line after the first (the first starts where printed)
    // Pixels added after every character; below zero, characters move closer, down to minus
    // half the font's pixel size (a lower value counts as that).
    double letterSpacing = 0.0;
    // The distance from line to line in the font's line heights: 1 is the font's own.
    double lineSpacing = 1.0;
    bool vertical = false;     // columns top to bottom, from right to left
    int height = 0;            // vertical: the columns' height in pixels; 0: the longest column's
    int uprightDigits = 2;     // vertical: half-width runs of at most this many characters stand upright
    bool latinUpright = false; // vertical: half-width characters stand upright one by one instead of turning

    bool operator==(const TextLayoutOptions&) const = default;
};

} // namespace sorvel
