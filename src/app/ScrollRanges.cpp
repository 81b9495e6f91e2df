#include "app/ScrollRanges.h"

#include <algorithm>

namespace sorvel {

ScrollRange scrollRange(int canvasExtent, int viewportExtent, int endMargin)
{
    if (canvasExtent <= viewportExtent)
        return {};
    return {true, std::clamp(canvasExtent - endMargin, 0, maxScrollValue)};
}

} // namespace sorvel
