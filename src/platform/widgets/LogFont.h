#pragma once
// A font as the font dialog takes and gives it: the members of a Windows LOGFONT as plain
// values. Heights are logical pixels at 96 dpi; a negative height is a character (em) height,
// a positive one a cell height. Weights use the 100..900 scale that Qt 6 uses too
// (400 normal, 700 bold). The byte flags are 1 for set and 0 for clear.

#include <QString>

#include <cstdint>

class QFont;

namespace sorvel {

struct LogFont {
    static constexpr int maxFaceNameLength = 31; // characters, without the terminator

    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    QString faceName; // at most maxFaceNameLength characters

    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// Values the LogFont members take.
namespace LogFontValue {
constexpr double pixelsPerPoint = 96.0 / 72.0; // logical pixels are 96 dpi
constexpr std::int32_t weightNormal = 400;
constexpr std::int32_t weightBold = 700;
constexpr std::uint8_t defaultCharSet = 1;
constexpr std::uint8_t defaultQuality = 0;
constexpr std::uint8_t nonAntialiasedQuality = 3;
constexpr std::uint8_t antialiasedQuality = 4;
constexpr std::uint8_t fixedPitch = 0x1;
constexpr std::uint8_t variablePitch = 0x2;
constexpr std::uint8_t familyRoman = 0x10;
constexpr std::uint8_t familySwiss = 0x20;
constexpr std::uint8_t familyModern = 0x30;
constexpr std::uint8_t familyScript = 0x40;
constexpr std::uint8_t familyDecorative = 0x50;
} // namespace LogFontValue

// A face name cut to the record's field: at most 31 characters, never half a surrogate pair.
QString fitFaceName(const QString& name);

// The record of a font as a drawing surface uses it: height is minus the pixel size
// (points at 96 dpi when the font has no pixel size), weight, style flags, face name (cut),
// default character set, and pitch, family and quality from the font's hints.
LogFont logFontFromQFont(const QFont& font);

// The QFont a record stands for. A positive pointSizeTenths gives the size in points;
// otherwise |height| is taken as the pixel size (when it is not 0). An empty face name keeps
// the family of a default QFont.
QFont qFontFromLogFont(const LogFont& logFont, std::int32_t pointSizeTenths);

// Tenths of a point of a QFont: its point size, or its pixel size read at 96 dpi.
std::int32_t pointSizeTenthsOf(const QFont& font);

} // namespace sorvel
