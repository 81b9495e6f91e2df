#pragma once
// The palette by keyboard: the sixteen swatches are one stop of the Tab order, the arrow keys
// move between them as they sit (two rows of eight), Space or Enter chooses the text colour and
// Shift with either the background colour.

#include "app/ColorRouting.h"

#include <QtCore/qnamespace.h>

#include <optional>

namespace sorvel {

inline constexpr int swatchesPerRow = 8;
inline constexpr int swatchCount = 2 * swatchesPerRow;

// The swatch a key moves to from index. Left and Right go through the swatches in reading
// order (from the end of the upper row to the start of the lower one), Up and Down to the other
// row, Home and End to the first and last swatch. Any other key, or a move past the palette's
// edge, stays on index.
constexpr int swatchAfterKey(int index, int key) noexcept
{
    int next = index;
    switch (key) {
    case Qt::Key_Left:
        next = index - 1;
        break;
    case Qt::Key_Right:
        next = index + 1;
        break;
    case Qt::Key_Up:
        next = index - swatchesPerRow;
        break;
    case Qt::Key_Down:
        next = index + swatchesPerRow;
        break;
    case Qt::Key_Home:
        next = 0;
        break;
    case Qt::Key_End:
        next = swatchCount - 1;
        break;
    default:
        break;
    }
    return next >= 0 && next < swatchCount ? next : index;
}

// The colour a key chooses on a focused swatch: Space, Return or the keypad's Enter the text
// colour, with Shift the background colour. No value for other keys or with Ctrl, Alt or Meta
// held, which belong to shortcuts.
constexpr std::optional<ColorTarget> swatchKeyTarget(int key, Qt::KeyboardModifiers modifiers) noexcept
{
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)
        return std::nullopt;
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    if (held == Qt::NoModifier)
        return ColorTarget::Text;
    if (held == Qt::ShiftModifier)
        return ColorTarget::Background;
    return std::nullopt;
}

} // namespace sorvel
