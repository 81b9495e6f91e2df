#pragma once
// When the preview's scroll bars show and how far they reach.
//
// A bar shows only while the canvas is larger than the viewport in its direction (equal sizes
// fit). Its range ends a fixed margin before the canvas's far edge, not a viewport before it:
// scrolled to the end, the last 150 columns (or 30 rows) of the canvas sit at the viewport's
// left (or top) edge. Scroll values are 16-bit, so the range is clamped to 32767.

#include <vector>

namespace sorvel {

constexpr int horizontalEndMargin = 150;
constexpr int verticalEndMargin = 30;
constexpr int maxScrollValue = 32767;

struct ScrollRange {
    bool visible = false;
    int maximum = 0; // meaningful only while visible

    bool operator==(const ScrollRange&) const = default;
};

ScrollRange scrollRange(int canvasExtent, int viewportExtent, int endMargin);

// One bar as the preview sees it: shown or not, its range's end and its value.
struct ScrollBarState {
    bool visible = false;
    int maximum = 0;
    int value = 0;

    bool operator==(const ScrollBarState&) const = default;
};

// The state a bar is left in when the canvas took each of the extents in turn and the bar
// followed every one: shown with its new range while the canvas overflows (a value beyond the
// new end drops to it), hidden with value 0 while it fits; a hidden bar keeps its last range.
// So a value lowered by a smaller extent on the way stays lowered when the canvas grows again.
ScrollBarState scrollBarAfter(ScrollBarState bar, const std::vector<int>& extents, int viewportExtent, int endMargin);

inline ScrollRange horizontalScrollRange(int canvasWidth, int viewportWidth)
{
    return scrollRange(canvasWidth, viewportWidth, horizontalEndMargin);
}

inline ScrollRange verticalScrollRange(int canvasHeight, int viewportHeight)
{
    return scrollRange(canvasHeight, viewportHeight, verticalEndMargin);
}

} // namespace sorvel
