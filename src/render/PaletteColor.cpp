#include "render/PaletteColor.h"

#include "platform/Failure.h"

#include <array>

namespace sorvel {

ColorValue PaletteColor(int index)
{
    static constexpr std::array<ColorValue, paletteSize> palette = {
        rgbColor(0, 0, 0),       rgbColor(0, 0, 128),   rgbColor(0, 128, 0),   rgbColor(0, 128, 128),
        rgbColor(128, 0, 0),     rgbColor(128, 0, 128), rgbColor(128, 128, 0), rgbColor(192, 192, 192),
        rgbColor(128, 128, 128), rgbColor(0, 0, 255),   rgbColor(0, 255, 0),   rgbColor(0, 255, 255),
        rgbColor(255, 0, 0),     rgbColor(255, 0, 255), rgbColor(255, 255, 0), rgbColor(255, 255, 255),
    };
    if (index < 0 || index >= paletteSize)
        fail(FailureKind::OutOfRange);
    return palette[static_cast<std::size_t>(index)];
}

} // namespace sorvel
