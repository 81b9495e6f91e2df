#pragma once
// The one shape of every effect of the picture. The renderer asks each effect that is on, in
// the pipeline's order, at each of the points below; an effect overrides those it takes part
// in and leaves the rest doing nothing.

#include <QPointF>
#include <QSize>

#include <optional>

namespace sorvel {

struct RenderContext;
struct TextImageSettings;

// One side of the canvas as an effect needs it: the measured text's side times scale, plus
// extra pixels. The margins come on top.
struct CanvasSide {
    double scale = 1.0;
    double extra = 0.0;

    bool operator==(const CanvasSide&) const = default;
};

// The sides an effect sets once the canvas has the measured text's size. A side it leaves
// empty keeps the size earlier steps gave it; a later effect's side replaces an earlier one's.
struct CanvasGrowth {
    std::optional<CanvasSide> width;
    std::optional<CanvasSide> height;

    bool operator==(const CanvasGrowth&) const = default;
};

class Effect {
public:
    virtual ~Effect() = default;

    // The questions (whether it is on, its sides, the text's origin) never fail; measuring and
    // drawing may, and a failing step leaves out that effect's part only.

    // Whether the settings ask for this effect.
    virtual bool isOn(const TextImageSettings& settings) const noexcept = 0;

    // The text's size when this effect lays the text out itself, unlike the label (vertical
    // text); the canvas and every side below then take this size. Empty: the label's size.
    virtual std::optional<QSize> measureText(const RenderContext&) const { return std::nullopt; }
    // Draws on the canvas while it has the measured text's size and the margins, before any
    // effect resizes it.
    virtual void drawBackground(RenderContext&) const { }
    // The sides this effect sets, in the order of the effects.
    virtual CanvasGrowth canvasGrowth(const TextImageSettings&) const noexcept { return {}; }
    // Called after each effect that set a side of the canvas, before anything is drawn beneath
    // the text.
    virtual void drawOnResizedCanvas(RenderContext&) const { }
    // Draws beneath the text on the canvas of its final size. The text's colour afterwards is
    // the one before, whatever the effect set.
    virtual void drawBeneathText(RenderContext&) const { }
    // Where the text starts, given where it would start without this effect; asked once the
    // canvas has its final size, before anything is drawn beneath the text.
    virtual QPointF textOrigin(const RenderContext&, QPointF origin) const noexcept { return origin; }
    // Prints the text in the effect's own way from the drawing position and returns true, or
    // returns false and leaves the text to the next effect or to the plain print.
    virtual bool drawText(RenderContext&) const { return false; }

protected:
    Effect() = default;
    Effect(const Effect&) = default;
    Effect& operator=(const Effect&) = default;
};

} // namespace sorvel
