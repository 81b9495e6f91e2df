#pragma once
// Hue, luminance and saturation on the 0-240 scale of the desktop shell to a direct colour.

#include "platform/ColorValue.h"

#include <cstdint>

namespace sorvel {

// The shell's integer conversion, exactly: every division adds half its divisor first, and a
// luminance above 120 takes the second formula of the "magic" value. Hues outside 0-240 wrap once.
ColorValue ColorHLSToRGB(std::uint16_t hue, std::uint16_t luminance, std::uint16_t saturation) noexcept;

} // namespace sorvel
