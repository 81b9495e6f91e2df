#pragma once
// Which colour a click on a palette swatch sets: the left button the text colour, every other
// button (right, middle, any other) the background colour.

namespace sorvel {

enum class ColorTarget { Text, Background };

// Mouse buttons numbered 1 left, 2 right, 4 middle (Qt::MouseButton has the same values).
constexpr int leftButton = 1;
constexpr int rightButton = 2;

constexpr ColorTarget swatchTarget(int button) noexcept
{
    return button == leftButton ? ColorTarget::Text : ColorTarget::Background;
}

} // namespace sorvel
