#include "render/effects/RenderContext.h"

#include "render/MeasuringLabel.h"

#include <algorithm>

namespace sorvel {

namespace {

constexpr int minimumCanvasWidth = 2;

} // namespace

int RenderContext::measuredWidth() const
{
    return std::max(textSize ? textSize->width() : label.width(), minimumCanvasWidth);
}

int RenderContext::measuredHeight() const
{
    return textSize ? textSize->height() : label.height();
}

} // namespace sorvel
