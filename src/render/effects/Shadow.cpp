#include "render/effects/Shadow.h"

#include "platform/Conversions.h"
#include "platform/Failure.h"
#include "render/CanvasSurface.h"
#include "render/PaletteColor.h"
#include "render/effects/RenderContext.h"

namespace sorvel {

namespace {

constexpr double shadowWidening = 1.04;
constexpr double shadowHeightening = 1.03;
constexpr double shadowOffset = 0.08; // of the size box's number, in pixels
constexpr int shadowPaletteIndex = 7;

} // namespace

bool Shadow::isOn(const TextImageSettings& settings) const noexcept
{
    return settings.Shadow;
}

CanvasGrowth Shadow::canvasGrowth(const TextImageSettings&) const noexcept
{
    return {CanvasSide{shadowWidening}, CanvasSide{shadowHeightening}};
}

void Shadow::drawBeneathText(RenderContext& context) const
{
    const TextImageSettings& s = context.settings;
    // A size box text that is no 16-bit number leaves the drawing position where clearing the
    // canvas put it, in the top-left corner, margins or not; the shadow is still printed there.
    carryOnAfterFailure([&] {
        const double offset = textToInt16(s.SizeText) * shadowOffset;
        context.canvas.setCurrentX(offset + s.Margins.left);
        context.canvas.setCurrentY(offset + s.Margins.top);
    });
    context.canvas.setForeColor(PaletteColor(shadowPaletteIndex));
    context.canvas.print(s.Text, true);
}

} // namespace sorvel
