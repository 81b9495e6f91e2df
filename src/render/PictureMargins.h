#pragma once
// Blank space around the whole picture, in whole pixels, in the order CSS gives them.

namespace sorvel {

struct PictureMargins {
    int top = 0;
    int right = 0;
    int bottom = 0;
    int left = 0;

    int horizontal() const { return left + right; }
    int vertical() const { return top + bottom; }
    bool operator==(const PictureMargins&) const = default;
};

} // namespace sorvel
