#pragma once
// Rainbow text: the text printed instead of in one colour with a hue of its own for every
// 16-bit unit, from red across 200 of the 240 hue steps, at fixed luminance and saturation.

#include "render/effects/Effect.h"

namespace sorvel {

class Rainbow final : public Effect {
public:
    bool isOn(const TextImageSettings& settings) const override;
    bool drawText(RenderContext& context) const override;
};

} // namespace sorvel
