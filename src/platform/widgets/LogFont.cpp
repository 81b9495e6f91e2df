#include "platform/widgets/LogFont.h"

#include "platform/Conversions.h"

#include <QFont>

#include <cstdlib>
#include <limits>

namespace sorvel {

namespace {

constexpr std::uint8_t familyMask = 0xF0;

std::uint8_t familyBitsOf(QFont::StyleHint hint)
{
    switch (hint) {
    case QFont::Serif:
        return LogFontValue::familyRoman;
    case QFont::SansSerif:
        return LogFontValue::familySwiss;
    case QFont::TypeWriter:
    case QFont::Monospace:
        return LogFontValue::familyModern;
    case QFont::Cursive:
        return LogFontValue::familyScript;
    case QFont::Decorative:
    case QFont::Fantasy:
        return LogFontValue::familyDecorative;
    default:
        return 0;
    }
}

QFont::StyleHint styleHintOf(std::uint8_t pitchAndFamily)
{
    switch (pitchAndFamily & familyMask) {
    case LogFontValue::familyRoman:
        return QFont::Serif;
    case LogFontValue::familySwiss:
        return QFont::SansSerif;
    case LogFontValue::familyModern:
        return QFont::Monospace;
    case LogFontValue::familyScript:
        return QFont::Cursive;
    case LogFontValue::familyDecorative:
        return QFont::Decorative;
    default:
        return QFont::AnyStyle;
    }
}

std::uint8_t qualityOf(QFont::StyleStrategy strategy)
{
    if (strategy & QFont::NoAntialias)
        return LogFontValue::nonAntialiasedQuality;
    if (strategy & QFont::PreferAntialias)
        return LogFontValue::antialiasedQuality;
    return LogFontValue::defaultQuality;
}

} // namespace

QString fitFaceName(const QString& name)
{
    if (name.size() <= LogFont::maxFaceNameLength)
        return name;
    qsizetype length = LogFont::maxFaceNameLength;
    if (name.at(length - 1).isHighSurrogate())
        --length;
    return name.left(length);
}

LogFont logFontFromQFont(const QFont& font)
{
    LogFont record;
    if (font.pixelSize() > 0)
        record.height = -font.pixelSize();
    else if (font.pointSizeF() > 0)
        record.height = -toInt32(font.pointSizeF() * LogFontValue::pixelsPerPoint);
    record.weight = font.weight();
    record.italic = font.italic() ? 1 : 0;
    record.underline = font.underline() ? 1 : 0;
    record.strikeOut = font.strikeOut() ? 1 : 0;
    record.charSet = LogFontValue::defaultCharSet;
    record.quality = qualityOf(font.styleStrategy());
    record.pitchAndFamily =
        static_cast<std::uint8_t>((font.fixedPitch() ? LogFontValue::fixedPitch : 0) | familyBitsOf(font.styleHint()));
    record.faceName = fitFaceName(font.family());
    return record;
}

QFont qFontFromLogFont(const LogFont& logFont, std::int32_t pointSizeTenths)
{
    QFont font;
    if (!logFont.faceName.isEmpty())
        font.setFamily(logFont.faceName);
    if (pointSizeTenths > 0)
        font.setPointSizeF(pointSizeTenths / 10.0);
    else if (logFont.height != 0)
        font.setPixelSize(static_cast<int>(
            qMin<std::int64_t>(std::abs(static_cast<std::int64_t>(logFont.height)), std::numeric_limits<int>::max())));
    if (logFont.weight > 0)
        font.setWeight(static_cast<QFont::Weight>(qBound(1, logFont.weight, 1000)));
    font.setItalic(logFont.italic != 0);
    font.setUnderline(logFont.underline != 0);
    font.setStrikeOut(logFont.strikeOut != 0);
    if (logFont.pitchAndFamily & LogFontValue::fixedPitch)
        font.setFixedPitch(true);
    font.setStyleHint(styleHintOf(logFont.pitchAndFamily));
    return font;
}

std::int32_t pointSizeTenthsOf(const QFont& font)
{
    if (font.pointSizeF() > 0)
        return toInt32(font.pointSizeF() * 10.0);
    if (font.pixelSize() > 0)
        return toInt32(font.pixelSize() / LogFontValue::pixelsPerPoint * 10.0);
    return 0;
}

} // namespace sorvel
