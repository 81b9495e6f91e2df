#pragma once
// The colour value of the whole program: an unsigned 32-bit number.
// Top bit clear: a direct colour, red in bits 0-7, green 8-15, blue 16-23 (0x00BBGGRR).
// Top bit set: a system colour of the desktop's scheme whose index is the low byte
// (5 window background, 8 window text, 15 button face), resolved when drawing.

#include <QColor>

#include <cstdint>

namespace sorvel {

using ColorValue = std::uint32_t;

constexpr ColorValue systemColorFlag = 0x80000000u;
constexpr ColorValue systemWindowBackground = systemColorFlag | 5u;
constexpr ColorValue systemWindowText = systemColorFlag | 8u;
constexpr ColorValue systemButtonFace = systemColorFlag | 15u;

constexpr ColorValue rgbColor(int red, int green, int blue) noexcept
{
    return static_cast<ColorValue>(red & 0xFF) | (static_cast<ColorValue>(green & 0xFF) << 8) |
           (static_cast<ColorValue>(blue & 0xFF) << 16);
}

constexpr bool isSystemColor(ColorValue value) noexcept
{
    return (value & systemColorFlag) != 0;
}

// A direct colour as QColor; a system colour looked up in the application's palette
// (window background = Base, window text = Text, button face = Button, others by nearest role).
QColor toQColor(ColorValue value);

// A QColor as a direct colour value (alpha dropped).
ColorValue fromQColor(const QColor& color) noexcept;

} // namespace sorvel
