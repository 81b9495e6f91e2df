#include "render/effects/InkRoom.h"

#include "platform/Conversions.h"
#include "platform/Failure.h"
#include "render/effects/RenderContext.h"

#include <algorithm>
#include <cmath>

namespace sorvel {

namespace {

constexpr double windowShadowOffset = 0.08; // of the size box's number, in pixels
constexpr double pixelsPerPoint = 96.0 / 72.0;
// How far italic glyphs lean out of their advance, as shares of the font's pixel size: a slant
// of about 12 degrees over the ascent on the right, descenders on the left.
constexpr double italicRightShare = 0.25;
constexpr double italicLeftShare = 0.1;
// The frame's line on the outer edge, and the pixel the text moves right and down for it.
constexpr int frameRoom = 2;

int italicReach(const TextImageSettings& s, double share)
{
    if (!s.FontItalic)
        return 0;
    return static_cast<int>(std::ceil(static_cast<double>(s.FontSize) * pixelsPerPoint * share - 1e-9));
}

} // namespace

bool sizesToInk(const TextImageSettings& settings) noexcept
{
    return !settings.Outlines.empty() || settings.Layout.width > 0 ||
           (settings.Shadow && !settings.ShadowStyle.isWindows());
}

int outlinesReach(const TextImageSettings& settings) noexcept
{
    int reach = 0;
    for (const TextOutline& outline : settings.Outlines)
        reach += std::max(outline.width, 0);
    return reach;
}

QPoint shadowOffsetOf(const TextImageSettings& settings) noexcept
{
    if (settings.ShadowStyle.offset)
        return *settings.ShadowStyle.offset;
    int offset = 0;
    carryOnAfterFailure(
        [&] { offset = static_cast<int>(roundHalfEven(textToInt16(settings.SizeText) * windowShadowOffset)); });
    return {offset, offset};
}

InkReach inkReachOf(const TextImageSettings& s) noexcept
{
    const int outline = outlinesReach(s);
    InkReach reach{italicReach(s, italicLeftShare) + outline, outline, italicReach(s, italicRightShare) + outline,
                   outline};
    if (s.Shadow) {
        // The shadow is the outlined text moved, and softened blur pixels further out.
        const QPoint offset = shadowOffsetOf(s);
        const int blur = std::max(s.ShadowStyle.blur, 0);
        reach.left = std::max(reach.left, reach.left + blur - offset.x());
        reach.right = std::max(reach.right, reach.right + blur + offset.x());
        reach.top = std::max(reach.top, reach.top + blur - offset.y());
        reach.bottom = std::max(reach.bottom, reach.bottom + blur + offset.y());
    }
    if (s.Framed) {
        reach.right += frameRoom;
        reach.bottom += frameRoom;
    }
    return reach;
}

bool InkRoom::isOn(const TextImageSettings& settings) const noexcept
{
    return sizesToInk(settings);
}

CanvasGrowth InkRoom::canvasGrowth(const TextImageSettings& settings) const noexcept
{
    const InkReach reach = inkReachOf(settings);
    return {CanvasSide{1.0, static_cast<double>(reach.horizontal())},
            CanvasSide{1.0, static_cast<double>(reach.vertical())}};
}

QPointF InkRoom::textOrigin(const RenderContext& context, QPointF origin) const noexcept
{
    const InkReach reach = inkReachOf(context.settings);
    return origin + QPointF(reach.left, reach.top);
}

} // namespace sorvel
