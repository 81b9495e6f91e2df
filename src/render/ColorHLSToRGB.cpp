#include "render/ColorHLSToRGB.h"

namespace sorvel {

namespace {

constexpr int hlsMax = 240;
constexpr int rgbMax = 255;

// One channel on the 0-240 scale, from the two magic values and a hue that may lie one
// third of the circle outside 0-240.
int hueToChannel(int magic1, int magic2, int hue) noexcept
{
    if (hue < 0)
        hue += hlsMax;
    if (hue > hlsMax)
        hue -= hlsMax;
    if (hue < hlsMax / 6)
        return magic1 + ((magic2 - magic1) * hue + hlsMax / 12) / (hlsMax / 6);
    if (hue < hlsMax / 2)
        return magic2;
    if (hue < hlsMax * 2 / 3)
        return magic1 + ((magic2 - magic1) * (hlsMax * 2 / 3 - hue) + hlsMax / 12) / (hlsMax / 6);
    return magic1;
}

int toRgbScale(int channel) noexcept
{
    return (channel * rgbMax + hlsMax / 2) / hlsMax;
}

} // namespace

ColorValue ColorHLSToRGB(std::uint16_t hue, std::uint16_t luminance, std::uint16_t saturation) noexcept
{
    const int h = hue;
    const int l = luminance;
    const int s = saturation;
    if (s == 0) {
        const int grey = l * rgbMax / hlsMax;
        return rgbColor(grey, grey, grey);
    }
    const int magic2 =
        l <= hlsMax / 2 ? (l * (hlsMax + s) + hlsMax / 2) / hlsMax : l + s - (l * s + hlsMax / 2) / hlsMax;
    const int magic1 = 2 * l - magic2;
    return rgbColor(toRgbScale(hueToChannel(magic1, magic2, h + hlsMax / 3)),
                    toRgbScale(hueToChannel(magic1, magic2, h)),
                    toRgbScale(hueToChannel(magic1, magic2, h - hlsMax / 3)));
}

} // namespace sorvel
