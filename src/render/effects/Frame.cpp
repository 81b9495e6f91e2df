#include "render/effects/Frame.h"

#include "render/CanvasSurface.h"
#include "render/effects/RenderContext.h"

namespace sorvel {

bool Frame::isOn(const TextImageSettings& settings) const noexcept
{
    return settings.Framed;
}

void Frame::drawBeneathText(RenderContext& context) const
{
    CanvasSurface& canvas = context.canvas;
    canvas.outlineRect(0, 0, canvas.scaleWidth() - 1, canvas.scaleHeight() - 1, canvas.foreColor());
}

QPointF Frame::textOrigin(const RenderContext&, QPointF origin) const noexcept
{
    return origin + QPointF(1, 1);
}

} // namespace sorvel
