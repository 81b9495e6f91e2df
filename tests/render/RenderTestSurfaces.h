#pragma once
// What the renderer's tests draw on: a canvas, a label and a holder of their own, reused from
// one rendering to the next as the window reuses them, and plain black-on-white settings.

#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "render/RenderTextImage.h"
#include "render/effects/Effect.h"

#include <initializer_list>
#include <vector>

namespace sorvel::testing {

struct Surfaces {
    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    int resizes = 0; // changes of the canvas size, counted by its listener
    Surfaces()
    {
        canvas.setResizeListener([this] { ++resizes; });
    }
    const QImage& render(const TextImageSettings& s)
    {
        RenderTextImage(s, {canvas, label, holder});
        return canvas.image();
    }
    // The pipeline with the given effects in place of the program's own.
    const QImage& render(const TextImageSettings& s, std::initializer_list<const Effect*> effects)
    {
        const std::vector<const Effect*> list(effects);
        renderWithEffects(s, {canvas, label, holder}, list);
        return canvas.image();
    }
};

inline TextImageSettings plain(const QString& text)
{
    TextImageSettings s;
    s.Text = text;
    s.ForeColor = 0x000000;
    s.BackColor = 0xFFFFFF;
    return s;
}

} // namespace sorvel::testing
