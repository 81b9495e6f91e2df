#pragma once
// The background picture, loaded into the picture holder and tiled from the canvas's top-left
// corner over the measured text's area.

#include "render/effects/Effect.h"

namespace sorvel {

class PictureTiles final : public Effect {
public:
    bool isOn(const TextImageSettings& settings) const noexcept override;
    void drawBackground(RenderContext& context) const override;
    void drawOnResizedCanvas(RenderContext& context) const override;
};

} // namespace sorvel
