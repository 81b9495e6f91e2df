#include "render/effects/Outline.h"

#include "render/CanvasSurface.h"
#include "render/CoverageMask.h"
#include "render/effects/RenderContext.h"

#include <vector>

namespace sorvel {

namespace {

// The outer shape of each outline from the inside out; without outlines, the silhouette.
const std::vector<CoverageMask>& inkShapes(RenderContext& context)
{
    std::vector<CoverageMask>& shapes = context.inkShapes;
    if (!shapes.empty())
        return shapes;
    const QPointF at = context.textOrigin;
    // Drawn in the text's colour, so that the text can be printed from it too.
    context.textInk = QImage();
    context.canvas.setForeColor(context.settings.ForeColor);
    context.textInk = context.canvas.inkOf(context.settings.Text, at.x(), at.y());
    std::vector<CoverageMask> made;
    made.push_back(alphaOf(context.textInk));
    for (std::size_t i = 0; i < context.settings.Outlines.size(); ++i) {
        // The silhouette itself is needed only as the first outline's start.
        if (i > 0)
            made.push_back(made.back());
        dilateByDisc(made.back(), context.settings.Outlines[i].width);
    }
    shapes = std::move(made);
    return shapes;
}

} // namespace

const CoverageMask& outlinedShape(RenderContext& context)
{
    return inkShapes(context).back();
}

bool Outline::isOn(const TextImageSettings& settings) const noexcept
{
    return !settings.Outlines.empty();
}

bool Outline::drawText(RenderContext& context) const
{
    // The text once more only in rainbow's hues; else as drawn for its silhouette.
    if (context.settings.Rainbow || context.textInk.isNull())
        return false;
    context.canvas.drawOver(context.textInk);
    return true;
}

void Outline::drawBeneathText(RenderContext& context) const
{
    const std::vector<CoverageMask>& shapes = inkShapes(context);
    const std::vector<TextOutline>& outlines = context.settings.Outlines;
    // The outermost first; each inner one over it, and the text over them all.
    std::vector<CanvasSurface::CoverageLayer> layers;
    for (std::size_t i = outlines.size(); i > 0; --i) {
        QColor color = toQColor(outlines[i - 1].color);
        color.setAlpha(outlines[i - 1].alpha);
        layers.push_back({&shapes[i - 1], color});
    }
    context.canvas.paintCoverage(layers);
}

} // namespace sorvel
