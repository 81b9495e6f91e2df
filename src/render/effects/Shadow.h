#pragma once
// The shadow: the text printed once more in the palette's light grey, moved right and down by a
// share of the size box's number, beneath the text. The canvas grows wider and taller for it.

#include "render/effects/Effect.h"

namespace sorvel {

class Shadow final : public Effect {
public:
    bool isOn(const TextImageSettings& settings) const noexcept override;
    CanvasGrowth canvasGrowth(const TextImageSettings& settings) const noexcept override;
    void drawBeneathText(RenderContext& context) const override;
};

} // namespace sorvel
