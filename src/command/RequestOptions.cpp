#include "command/RequestOptions.h"

#include "command/CommandError.h"
#include "image/JpegQuality.h"
#include "render/CanvasSurface.h"
#include "render/RenderTextImage.h"
#include "render/SettingsFromOptions.h"

#include <QHash>
#include <QRegularExpression>

namespace sorvel::render_command {

namespace {

const QHash<QString, OptionKind>& optionKinds()
{
    static const QHash<QString, OptionKind> kinds = {
        {QStringLiteral("output"), OptionKind::Value},     {QStringLiteral("text-file"), OptionKind::Value},
        {QStringLiteral("font"), OptionKind::Value},       {QStringLiteral("font-file"), OptionKind::Value},
        {QStringLiteral("size"), OptionKind::Value},       {QStringLiteral("bold"), OptionKind::Flag},
        {QStringLiteral("italic"), OptionKind::Flag},      {QStringLiteral("underline"), OptionKind::Flag},
        {QStringLiteral("strike"), OptionKind::Flag},      {QStringLiteral("color"), OptionKind::Value},
        {QStringLiteral("background"), OptionKind::Value}, {QStringLiteral("picture"), OptionKind::Value},
        {QStringLiteral("shadow"), OptionKind::Flag},      {QStringLiteral("rainbow"), OptionKind::Flag},
        {QStringLiteral("frame"), OptionKind::Flag},       {QStringLiteral("quality"), OptionKind::Value},
        {QStringLiteral("width"), OptionKind::Value},      {QStringLiteral("wrap"), OptionKind::Value},
        {QStringLiteral("align"), OptionKind::Value},      {QStringLiteral("margin"), OptionKind::Value},
    };
    return kinds;
}

[[noreturn]] void badValue(const QString& name, const QString& value, const QString& expected)
{
    usageError(QStringLiteral("--%1: %2 is not %3").arg(name, quoted(value), expected));
}

ColorValue colorValue(const QString& name, const QString& value)
{
    const std::optional<ColorValue> color = colorFromText(value);
    if (!color) {
        usageError(
            QStringLiteral("--%1: %2 is neither a palette index from 0 to 15 nor #RRGGBB").arg(name, quoted(value)));
    }
    return *color;
}

void setBackground(RenderRequest& request, const QString& value)
{
    if (value == u"transparent") {
        request.background = rgbColor(255, 255, 255);
        request.backgroundAlpha = 0;
        return;
    }
    static const QRegularExpression withAlpha(QStringLiteral("^#[0-9A-Fa-f]{8}$"));
    if (withAlpha.match(value).hasMatch()) {
        request.background = colorValue(QStringLiteral("background"), value.first(7));
        request.backgroundAlpha = value.sliced(7).toInt(nullptr, 16);
        return;
    }
    if (!colorFromText(value)) {
        usageError(QStringLiteral(
                       "--background: %1 is neither a palette index from 0 to 15, #RRGGBB, #RRGGBBAA nor transparent")
                       .arg(quoted(value)));
    }
    request.background = colorValue(QStringLiteral("background"), value);
    request.backgroundAlpha = 255;
}

void setOutput(RenderRequest& request, const QString& value)
{
    if (value.isEmpty())
        usageError(QStringLiteral("no output given: use -o FILE, or -o - for standard output"));
    request.output = value;
    if (value == standardStream) {
        request.format = ImageFormat::Png;
        return;
    }
    request.format = imageFormatForPath(value);
    if (request.format == ImageFormat::None) {
        usageError(QStringLiteral("cannot tell the format of %1: the name must end in .png, .jpg, .bmp or .gif")
                       .arg(quoted(value)));
    }
}

// A whole number of pixels from 0 (or 1) up to the canvas's largest side.
int pixels(const QString& name, const QString& value, int least)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    const int number = digits.match(value).hasMatch() ? value.toInt() : -1;
    if (number < least || number > CanvasSurface::maxSide)
        badValue(name, value,
                 QStringLiteral("a whole number of pixels from %1 to %2").arg(least).arg(CanvasSurface::maxSide));
    return number;
}

PictureMargins marginsOf(const QString& value)
{
    const QStringList parts = value.split(u' ', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.size() > 4)
        badValue(QStringLiteral("margin"), value,
                 QStringLiteral("one to four whole numbers of pixels (top right bottom left)"));
    int v[4];
    for (qsizetype i = 0; i < parts.size(); ++i)
        v[i] = pixels(QStringLiteral("margin"), parts[i], 0);
    // CSS: one value for all sides, two for top-bottom and left-right, three for top,
    // left-right and bottom.
    switch (parts.size()) {
    case 1:
        return {v[0], v[0], v[0], v[0]};
    case 2:
        return {v[0], v[1], v[0], v[1]};
    case 3:
        return {v[0], v[1], v[2], v[1]};
    default:
        return {v[0], v[1], v[2], v[3]};
    }
}

} // namespace

std::optional<OptionKind> requestOptionKind(const QString& name)
{
    const auto found = optionKinds().constFind(name);
    if (found == optionKinds().constEnd())
        return std::nullopt;
    return *found;
}

void setRequestFlag(RenderRequest& request, const QString& name, bool on)
{
    if (name == u"bold")
        request.bold = on;
    else if (name == u"italic")
        request.italic = on;
    else if (name == u"underline")
        request.underline = on;
    else if (name == u"strike")
        request.strikethrough = on;
    else if (name == u"shadow")
        request.shadow = on;
    else if (name == u"rainbow")
        request.rainbow = on;
    else if (name == u"frame")
        request.frame = on;
    else
        usageError(QStringLiteral("--%1 is no on-or-off option").arg(name));
}

void setRequestValue(RenderRequest& request, const QString& name, const QString& value)
{
    if (name == u"output") {
        setOutput(request, value);
    } else if (name == u"text-file") {
        if (value.isEmpty())
            usageError(QStringLiteral("--text-file: no file name"));
        request.textFile = value;
        request.textSource =
            value == standardStream ? RenderRequest::TextSource::StandardInput : RenderRequest::TextSource::File;
    } else if (name == u"font") {
        if (value.isEmpty())
            usageError(QStringLiteral("--font: no font name"));
        request.fontName = value;
    } else if (name == u"font-file") {
        if (value.isEmpty())
            usageError(QStringLiteral("--font-file: no file name"));
        request.fontFile = value;
    } else if (name == u"size") {
        request.sizeText = value;
    } else if (name == u"color") {
        request.color = colorValue(name, value);
    } else if (name == u"background") {
        setBackground(request, value);
    } else if (name == u"picture") {
        if (value.isEmpty())
            usageError(QStringLiteral("--picture: no file name"));
        if (backgroundFormatOf(value) == BackgroundFormat::None) {
            usageError(
                QStringLiteral("--picture: %1 is not taken as a background: the name must end in .bmp, .jpg or .png")
                    .arg(quoted(value)));
        }
        request.picture = value;
    } else if (name == u"quality") {
        const std::optional<std::uint8_t> quality = jpegWriterQuality(jpegQualityFromAnswer(value));
        if (!quality)
            usageError(QStringLiteral("--quality: %1 is not a number from 1 to 255").arg(quoted(value)));
        request.jpegQuality = *quality;
    } else if (name == u"width") {
        request.width = pixels(name, value, 1);
    } else if (name == u"wrap") {
        if (value == u"word")
            request.wrap = WrapMode::Word;
        else if (value == u"char")
            request.wrap = WrapMode::Character;
        else if (value == u"none")
            request.wrap = WrapMode::None;
        else
            badValue(name, value, QStringLiteral("word, char or none"));
    } else if (name == u"align") {
        if (value == u"left")
            request.align = LineAlignment::Left;
        else if (value == u"center")
            request.align = LineAlignment::Center;
        else if (value == u"right")
            request.align = LineAlignment::Right;
        else
            badValue(name, value, QStringLiteral("left, center or right"));
    } else if (name == u"margin") {
        request.margins = marginsOf(value);
    } else {
        usageError(QStringLiteral("--%1 takes no value").arg(name));
    }
}

void checkRequest(const RenderRequest& request)
{
    if (request.output.isEmpty())
        usageError(QStringLiteral("no output given: use -o FILE, or -o - for standard output"));
    if (request.backgroundAlpha != 255 && request.format != ImageFormat::Png) {
        usageError(QStringLiteral("a transparent background needs a PNG output: %1 has no alpha channel")
                       .arg(quoted(request.output)));
    }
}

} // namespace sorvel::render_command
