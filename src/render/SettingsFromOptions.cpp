#include "render/SettingsFromOptions.h"

#include "platform/Conversions.h"
#include "text/FontSystem.h"
#include "render/PaletteColor.h"

#include <QFont>

namespace sorvel {

namespace {

constexpr qsizetype hexColorLength = 7; // "#RRGGBB"

bool isAsciiDigits(const QString& text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return !text.isEmpty();
}

// The value of one hexadecimal digit, or -1.
int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

} // namespace

std::optional<ColorValue> colorFromText(const QString& text)
{
    if (isAsciiDigits(text) && text.size() <= 2) {
        const int index = text.toInt();
        if (index < paletteSize)
            return PaletteColor(index);
        return std::nullopt;
    }
    if (text.size() != hexColorLength || text.front() != u'#')
        return std::nullopt;
    int channels[3] = {};
    for (int channel = 0; channel < 3; ++channel) {
        const int high = hexDigit(text.at(1 + 2 * channel));
        const int low = hexDigit(text.at(2 + 2 * channel));
        if (high < 0 || low < 0)
            return std::nullopt;
        channels[channel] = high * 16 + low;
    }
    return rgbColor(channels[0], channels[1], channels[2]);
}

float fontSizeFromText(const QString& sizeText)
{
    QFont font;
    setFontPointSize(font, textToNumber(sizeText));
    return static_cast<float>(fontPointSize(font));
}

QString withCrLfLineBreaks(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            out += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else if (c == u'\n') {
            out += QStringLiteral("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace sorvel
