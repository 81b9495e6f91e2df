#include "image/JpegQuality.h"

#include "platform/Conversions.h"
#include "platform/Failure.h"

namespace sorvel {

std::int16_t jpegQualityFromAnswer(const QString& answer) noexcept
{
    std::int16_t quality = 0;
    carryOnAfterFailure([&] { quality = textToInt16(answer); });
    return quality;
}

std::optional<std::uint8_t> jpegWriterQuality(std::int16_t quality) noexcept
{
    if (quality <= 0 || quality > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(quality);
}

} // namespace sorvel
