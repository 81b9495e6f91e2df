#pragma once
// Which colour a click on a palette swatch sets: the left button the text colour, every other
// button (right, middle, any other) the background colour.

#include <QtCore/qnamespace.h>

namespace sorvel {

enum class ColorTarget { Text, Background };

constexpr ColorTarget swatchTarget(Qt::MouseButton button) noexcept
{
    return button == Qt::LeftButton ? ColorTarget::Text : ColorTarget::Background;
}

} // namespace sorvel
