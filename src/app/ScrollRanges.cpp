#include "app/ScrollRanges.h"

#include <algorithm>

namespace sorvel {

ScrollRange scrollRange(int canvasExtent, int viewportExtent, int endMargin)
{
    if (canvasExtent <= viewportExtent)
        return {};
    return {true, std::clamp(canvasExtent - endMargin, 0, maxScrollValue)};
}

ScrollBarState scrollBarAfter(ScrollBarState bar, const std::vector<int>& extents, int viewportExtent, int endMargin)
{
    for (const int extent : extents) {
        const ScrollRange range = scrollRange(extent, viewportExtent, endMargin);
        bar.visible = range.visible;
        if (range.visible) {
            bar.maximum = range.maximum;
            bar.value = std::clamp(bar.value, 0, range.maximum);
        } else {
            bar.value = 0;
        }
    }
    return bar;
}

} // namespace sorvel
