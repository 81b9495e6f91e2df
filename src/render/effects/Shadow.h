#pragma once
// The shadow: the text printed once more in the palette's light grey, moved right and down by a
// share of the size box's number, beneath the text. The canvas grows wider and taller for it.
// In a picture sized to its ink (InkRoom.h) it lies at that offset from the text itself, or at
// an offset of its own, in a colour of its own, with the outlines' shape and softened at will.

#include "render/effects/Effect.h"

namespace sorvel {

class Shadow final : public Effect {
public:
    bool isOn(const TextImageSettings& settings) const noexcept override;
    CanvasGrowth canvasGrowth(const TextImageSettings& settings) const noexcept override;
    void drawBeneathText(RenderContext& context) const override;
};

} // namespace sorvel
