#pragma once
// Checked numeric conversions of the run-time: floating values become integers by rounding to
// the nearest, halves to the even neighbour; a value outside the target type fails with OutOfRange.

#include <cstdint>

class QString;

namespace sorvel {

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Infinities and NaN pass through.
double roundHalfEven(double value) noexcept;

std::int16_t toInt16(double value); // OutOfRange outside -32768..32767 or not finite
std::int32_t toInt32(double value); // OutOfRange outside the 32-bit range or not finite
std::uint8_t toByte(double value);  // OutOfRange outside 0..255 or not finite

// The locale-aware text-to-number conversion of the size box and the JPEG prompt:
// surrounding blanks are ignored; full-width digits count as digits; an optional sign, digits, a decimal fraction (the
// locale's separator or '.') and an exponent are accepted. Anything else (empty text, letters) fails with NotANumber; a
// number too large for a double fails with OutOfRange.
double textToNumber(const QString& text);

// textToNumber followed by toInt16: "12.5" gives 12, "13.5" gives 14.
std::int16_t textToInt16(const QString& text);

} // namespace sorvel
