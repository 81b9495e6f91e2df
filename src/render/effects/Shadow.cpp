#include "render/effects/Shadow.h"

#include "platform/Conversions.h"
#include "platform/Failure.h"
#include "render/CanvasSurface.h"
#include "render/CoverageMask.h"
#include "render/PaletteColor.h"
#include "render/effects/InkRoom.h"
#include "render/effects/Outline.h"
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

namespace {

// The shadow of a picture sized to its ink: the text's shape with its outlines, moved by the
// offset from where the text is printed, softened, in its colour.
void drawShapeShadow(RenderContext& context)
{
    const TextImageSettings& s = context.settings;
    const ShadowLook& look = s.ShadowStyle;
    const QPoint offset = shadowOffsetOf(s);
    const ColorValue color = look.color.value_or(PaletteColor(shadowPaletteIndex));
    if (s.Outlines.empty() && look.blur <= 0 && look.alpha == 255) {
        // Sharp and without outlines: the text printed once more, as the window's shadow is.
        context.canvas.setCurrentX(context.textOrigin.x() + offset.x());
        context.canvas.setCurrentY(context.textOrigin.y() + offset.y());
        context.canvas.setForeColor(color);
        context.canvas.printSilhouette(s.Text, true);
        return;
    }
    CoverageMask shadow = shiftedMask(outlinedShape(context), offset);
    blurSoftly(shadow, look.blur);
    QColor shade = toQColor(color);
    shade.setAlpha(look.alpha);
    const CanvasSurface::CoverageLayer layer{&shadow, shade};
    context.canvas.paintCoverage({&layer, 1});
}

} // namespace

void Shadow::drawBeneathText(RenderContext& context) const
{
    const TextImageSettings& s = context.settings;
    if (sizesToInk(s)) {
        drawShapeShadow(context);
        return;
    }
    // A size box text that is no 16-bit number leaves the drawing position where clearing the
    // canvas put it, in the top-left corner, margins or not; the shadow is still printed there.
    carryOnAfterFailure([&] {
        const double offset = textToInt16(s.SizeText) * shadowOffset;
        context.canvas.setCurrentX(offset + s.Margins.left);
        context.canvas.setCurrentY(offset + s.Margins.top);
    });
    context.canvas.setForeColor(PaletteColor(shadowPaletteIndex));
    context.canvas.printSilhouette(s.Text, true);
}

} // namespace sorvel
