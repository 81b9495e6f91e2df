#pragma once
// The JPEG quality the user types into the prompt, and what reaches the writer.

#include <QString>

#include <cstdint>
#include <optional>

namespace sorvel {

// The answer as a 16-bit integer: surrounding blanks ignored, a fraction rounded half to even
// (50.5 -> 50, 51.5 -> 52). An answer that does not convert (empty, which is also what Cancel
// gives; words; beyond -32768..32767) gives 0.
std::int16_t jpegQualityFromAnswer(const QString& answer) noexcept;

// The byte handed to the JPEG writer: 1..255 pass unchanged (the writer treats 101..255 as
// 100); 0, negative values and values above 255 mean no file is written.
std::optional<std::uint8_t> jpegWriterQuality(std::int16_t quality) noexcept;

} // namespace sorvel
