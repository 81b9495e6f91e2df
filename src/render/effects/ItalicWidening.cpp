#include "render/effects/ItalicWidening.h"

#include "render/TextImageSettings.h"

namespace sorvel {

namespace {

constexpr double italicWidening = 1.05;

} // namespace

bool ItalicWidening::isOn(const TextImageSettings& settings) const noexcept
{
    return settings.FontItalic;
}

CanvasGrowth ItalicWidening::canvasGrowth(const TextImageSettings&) const noexcept
{
    return {CanvasSide{italicWidening}, std::nullopt};
}

} // namespace sorvel
