#pragma once
// Room for italic text: slanted glyphs lean out past the measured width, so the canvas grows
// wider by a fixed share.

#include "render/effects/Effect.h"

namespace sorvel {

class ItalicWidening final : public Effect {
public:
    bool isOn(const TextImageSettings& settings) const noexcept override;
    CanvasGrowth canvasGrowth(const TextImageSettings& settings) const noexcept override;
};

} // namespace sorvel
