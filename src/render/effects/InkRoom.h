#pragma once
// Room for the ink that reaches beyond the text block: outlines around the glyphs, a shadow
// moved and softened, italic glyphs leaning out, the frame. Once the picture has an outline, a
// shadow of its own look or a fixed width, the canvas is the text block plus exactly this room
// on each side (in place of the window's fixed shares for italic and shadow), the text moves
// right and down by the room on its left and top, and a fixed width holds the room: the text
// wraps to what is left of it.

#include "render/effects/Effect.h"

#include <QPoint>

namespace sorvel {

struct InkReach {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int horizontal() const { return left + right; }
    int vertical() const { return top + bottom; }
    bool operator==(const InkReach&) const = default;
};

// Whether the picture is sized to its ink rather than by the window's shares.
bool sizesToInk(const TextImageSettings& settings) noexcept;

// The room the ink needs beyond the text block on each side.
InkReach inkReachOf(const TextImageSettings& settings) noexcept;

// How far all the outlines together reach beyond the glyphs.
int outlinesReach(const TextImageSettings& settings) noexcept;

// Where the shadow lies from the text, in whole pixels: its own offset, else the window's share
// of the size box's number (none for a text that is no 16-bit number).
QPoint shadowOffsetOf(const TextImageSettings& settings) noexcept;

class InkRoom final : public Effect {
public:
    bool isOn(const TextImageSettings& settings) const noexcept override;
    CanvasGrowth canvasGrowth(const TextImageSettings& settings) const noexcept override;
    QPointF textOrigin(const RenderContext& context, QPointF origin) const noexcept override;
};

} // namespace sorvel
