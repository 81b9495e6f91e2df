#include "render/effects/Rainbow.h"

#include "platform/Conversions.h"
#include "render/CanvasSurface.h"
#include "render/ColorHLSToRGB.h"
#include "render/effects/RenderContext.h"

#include <cstdint>
#include <vector>

namespace sorvel {

namespace {

constexpr float hueSpan = 200.0f;
constexpr std::uint16_t rainbowLuminance = 160;
constexpr std::uint16_t rainbowSaturation = 200;

} // namespace

bool Rainbow::isOn(const TextImageSettings& settings) const noexcept
{
    return settings.Rainbow;
}

bool Rainbow::drawText(RenderContext& context) const
{
    const QString& text = context.settings.Text;
    const auto length = static_cast<std::int32_t>(text.size());
    // An empty text has no hue step and prints nothing.
    if (length == 0)
        return true;
    const float hueStep = hueSpan / static_cast<float>(length);
    std::vector<ColorValue> colors(static_cast<std::size_t>(length));
    for (std::int32_t i = 0; i < length; ++i) {
        const std::int16_t hue = toInt16(static_cast<double>(i) * static_cast<double>(hueStep));
        colors[static_cast<std::size_t>(i)] =
            ColorHLSToRGB(static_cast<std::uint16_t>(hue), rainbowLuminance, rainbowSaturation);
    }
    context.canvas.printColored(text, colors, false);
    return true;
}

} // namespace sorvel
