#pragma once
// Rainbow text, printed in place of the plain text: every 16-bit unit in a hue of its own,
// from red across 200 of the 240 hue steps, at one luminance and saturation. Glyphs land
// exactly where the plain print puts them.

#include "render/effects/Effect.h"

namespace sorvel {

class Rainbow final : public Effect {
public:
    bool isOn(const TextImageSettings& settings) const noexcept override;
    bool drawText(RenderContext& context) const override;
};

} // namespace sorvel
