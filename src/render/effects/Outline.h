#pragma once
// Outlines: bands of their own colours around the glyphs, beneath the text, so that a letter is
// never thinner for them. The first lies its width around the text's silhouette, each further
// one its width around the one before; joins are round and edges keep their antialiasing. The
// silhouette is whatever the text's print draws (underline and strike-through strokes too).

#include "render/effects/Effect.h"

namespace sorvel {

struct CoverageMask;

// The shape of the text with every outline around it (the bare silhouette without outlines),
// at the text's origin on a mask of the canvas's size; made once per rendering.
const CoverageMask& outlinedShape(RenderContext& context);

class Outline final : public Effect {
public:
    bool isOn(const TextImageSettings& settings) const noexcept override;
    void drawBeneathText(RenderContext& context) const override;
    // The text from the image drawn for its silhouette (the same pixels as the plain print),
    // unless rainbow prints it in its own colours.
    bool drawText(RenderContext& context) const override;
};

} // namespace sorvel
