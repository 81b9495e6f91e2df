#pragma once
// The frame: a one-pixel outline in the text's colour on the edges of the final canvas, beneath
// the text, which moves one pixel right and down inside it.

#include "render/effects/Effect.h"

namespace sorvel {

class Frame final : public Effect {
public:
    bool isOn(const TextImageSettings& settings) const noexcept override;
    void drawBeneathText(RenderContext& context) const override;
    QPointF textOrigin(const RenderContext& context, QPointF origin) const noexcept override;
};

} // namespace sorvel
