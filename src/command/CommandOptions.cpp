#include "command/CommandOptions.h"

#include "command/CommandError.h"
#include "image/JpegQuality.h"
#include "render/CanvasSurface.h"
#include "render/SettingsFromOptions.h"

#include <QRegularExpression>

#include <cstdlib>
#include <tuple>
#include <utility>

namespace sorvel::render_command {

namespace {

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
    request.format = imageFormatForPath(value, NameEndings::Command);
    if (request.format == ImageFormat::None) {
        usageError(QStringLiteral("cannot tell the format of %1: the name must end in .png, .jpg, .jpeg, .bmp or .gif")
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

void setTextFile(RenderRequest& request, const QString& value)
{
    if (value.isEmpty())
        usageError(QStringLiteral("--text-file: no file name"));
    request.textFile = value;
    request.textSource =
        value == standardStream ? RenderRequest::TextSource::StandardInput : RenderRequest::TextSource::File;
}

void setFont(RenderRequest& request, const QString& value)
{
    if (value.isEmpty())
        usageError(QStringLiteral("--font: no font name"));
    request.fontName = value;
}

void setFontFile(RenderRequest& request, const QString& value)
{
    if (value.isEmpty())
        usageError(QStringLiteral("--font-file: no file name"));
    request.fontFile = value;
}

void setPicture(RenderRequest& request, const QString& value)
{
    if (value.isEmpty())
        usageError(QStringLiteral("--picture: no file name"));
    if (!backgroundReaderFor(value, NameEndings::Command)) {
        usageError(
            QStringLiteral("--picture: %1 is not taken as a background: the name must end in .bmp, .jpg, .jpeg or .png")
                .arg(quoted(value)));
    }
    request.picture = value;
}

void setQuality(RenderRequest& request, const QString& value)
{
    const std::optional<std::uint8_t> quality = jpegWriterQuality(jpegQualityFromAnswer(value));
    if (!quality)
        usageError(QStringLiteral("--quality: %1 is not a number from 1 to 255").arg(quoted(value)));
    request.jpegQuality = *quality;
}

void setWrap(RenderRequest& request, const QString& value)
{
    if (value == u"word")
        request.wrap = WrapMode::Word;
    else if (value == u"char")
        request.wrap = WrapMode::Character;
    else if (value == u"none")
        request.wrap = WrapMode::None;
    else
        badValue(QStringLiteral("wrap"), value, QStringLiteral("word, char or none"));
}

// A colour as --color takes it, or #RRGGBBAA with its opacity.
std::pair<ColorValue, int> colorWithAlpha(const QString& name, const QString& value)
{
    static const QRegularExpression withAlpha(QStringLiteral("^#[0-9A-Fa-f]{8}$"));
    if (withAlpha.match(value).hasMatch())
        return {*colorFromText(value.first(7)), value.sliced(7).toInt(nullptr, 16)};
    const std::optional<ColorValue> color = colorFromText(value);
    if (!color) {
        usageError(QStringLiteral("--%1: %2 is neither a palette index from 0 to 15, #RRGGBB nor #RRGGBBAA")
                       .arg(name, quoted(value)));
    }
    return {*color, 255};
}

// A whole number from least to most.
int wholeNumber(const QString& name, const QString& value, int least, int most, const QString& what)
{
    static const QRegularExpression number(QStringLiteral("^-?[0-9]{1,9}$"));
    const int n = number.match(value).hasMatch() ? value.toInt() : least - 1;
    if (n < least || n > most)
        badValue(name, value, QStringLiteral("%1 from %2 to %3").arg(what).arg(least).arg(most));
    return n;
}

void setOutlines(RenderRequest& request, const QStringList& values)
{
    const QString name = QStringLiteral("outline");
    if (values.size() > maxOutlines)
        usageError(
            QStringLiteral("--outline: %1 outlines where at most %2 are taken").arg(values.size()).arg(maxOutlines));
    std::vector<TextOutline> outlines;
    for (const QString& value : values) {
        const qsizetype colon = value.indexOf(u':');
        const QString width = colon < 0 ? value : value.first(colon);
        TextOutline outline;
        outline.width = wholeNumber(name, width, 1, maxOutlineWidth, QStringLiteral("a width in whole pixels"));
        if (colon >= 0)
            std::tie(outline.color, outline.alpha) = colorWithAlpha(name, value.sliced(colon + 1));
        outlines.push_back(outline);
    }
    request.outlines = std::move(outlines);
}

void setShadowColor(RenderRequest& request, const QString& value)
{
    const auto [color, alpha] = colorWithAlpha(QStringLiteral("shadow-color"), value);
    request.shadowColor = color;
    request.shadowAlpha = alpha;
}

void setShadowOffset(RenderRequest& request, const QString& value)
{
    static const QRegularExpression pair(QStringLiteral("^\\s*(-?[0-9]{1,9})\\s*,\\s*(-?[0-9]{1,9})\\s*$"));
    const QRegularExpressionMatch match = pair.match(value);
    const int x = match.hasMatch() ? match.captured(1).toInt() : maxShadowOffset + 1;
    const int y = match.hasMatch() ? match.captured(2).toInt() : maxShadowOffset + 1;
    if (std::abs(x) > maxShadowOffset || std::abs(y) > maxShadowOffset) {
        badValue(QStringLiteral("shadow-offset"), value,
                 QStringLiteral("X,Y in whole pixels from %1 to %2").arg(-maxShadowOffset).arg(maxShadowOffset));
    }
    request.shadowOffset = QPoint(x, y);
}

void setShadowBlur(RenderRequest& request, const QString& value)
{
    request.shadowBlur =
        wholeNumber(QStringLiteral("shadow-blur"), value, 0, maxShadowBlur, QStringLiteral("a reach in whole pixels"));
}

// Along the lines, or along the columns of vertical text: top and bottom are left and right.
void setAlign(RenderRequest& request, const QString& value)
{
    if (value == u"left" || value == u"top")
        request.align = LineAlignment::Left;
    else if (value == u"center")
        request.align = LineAlignment::Center;
    else if (value == u"right" || value == u"bottom")
        request.align = LineAlignment::Right;
    else
        badValue(QStringLiteral("align"), value, QStringLiteral("left, center or right (top, center or bottom)"));
}

void setUprightDigits(RenderRequest& request, const QString& value)
{
    static const QRegularExpression digit(QStringLiteral("^[0-4]$"));
    if (!digit.match(value).hasMatch())
        badValue(QStringLiteral("upright-digits"), value, QStringLiteral("a number from 0 to 4"));
    request.uprightDigits = value.toInt();
}

void setLatin(RenderRequest& request, const QString& value)
{
    if (value == u"turned")
        request.latinUpright = false;
    else if (value == u"upright")
        request.latinUpright = true;
    else
        badValue(QStringLiteral("latin"), value, QStringLiteral("turned or upright"));
}

// A number of pixels from -1000 to 1000, at most two decimals (1, -2.5); the font's own bound
// is checked with the font (settingsFor).
double letterSpacingOf(const QString& value)
{
    static const QRegularExpression number(QStringLiteral("^-?[0-9]{1,4}(\\.[0-9]{1,2})?$"));
    const double spacing = number.match(value).hasMatch() ? value.toDouble() : qInf();
    if (!(spacing >= -1000.0 && spacing <= 1000.0))
        badValue(QStringLiteral("letter-spacing"), value, QStringLiteral("a number of pixels from -1000 to 1000"));
    return spacing;
}

double lineSpacingOf(const QString& value)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]{1,2}(\\.[0-9]{1,3})?$"));
    const double factor = number.match(value).hasMatch() ? value.toDouble() : -1.0;
    if (factor < 0.5 || factor > 5.0)
        badValue(QStringLiteral("line-spacing"), value, QStringLiteral("a number of line heights from 0.5 to 5"));
    return factor;
}

void setMissing(RenderRequest& request, const QString& value)
{
    if (value == u"ignore")
        request.missing = RenderRequest::Missing::Ignore;
    else if (value == u"warn")
        request.missing = RenderRequest::Missing::Warn;
    else if (value == u"error")
        request.missing = RenderRequest::Missing::Error;
    else
        badValue(QStringLiteral("missing"), value, QStringLiteral("ignore, warn or error"));
}

void setBoxesFile(RenderRequest& request, const QString& value)
{
    if (value.isEmpty() || value == standardStream)
        usageError(QStringLiteral("--boxes: give a file name"));
    request.boxesFile = value;
}

// An option of the whole run: the command line's parser acts on it, a batch job cannot set it.
constexpr CommandOption runOption(const char* name, const char* shortName, const char* valueName, const char* help)
{
    return {name,    shortName, valueName, help, nullptr, valueName ? OptionKind::Value : OptionKind::Flag,
            nullptr, nullptr,   nullptr};
}

// An option of one picture, a batch job's key of the same name.
constexpr CommandOption pictureFlag(const char* name, const char* help, CommandOption::FlagSetter set)
{
    return {name, nullptr, nullptr, help, name, OptionKind::Flag, set, nullptr, nullptr};
}

constexpr CommandOption pictureValue(const char* name, const char* shortName, const char* valueName, const char* help,
                                     CommandOption::ValueSetter set)
{
    return {name, shortName, valueName, help, name, OptionKind::Value, nullptr, set, nullptr};
}

// An option of one picture that may be given more than once; a job's key takes one value or an
// array of them.
constexpr CommandOption pictureValues(const char* name, const char* valueName, const char* help,
                                      CommandOption::ValuesSetter set)
{
    return {name, nullptr, valueName, help, name, OptionKind::Values, nullptr, nullptr, set};
}

// A value of one picture that a batch job may also give as true or false.
constexpr CommandOption pictureValueOrFlag(const char* name, const char* valueName, const char* help,
                                           CommandOption::ValueSetter set, CommandOption::FlagSetter setFlag)
{
    return {name, nullptr, valueName, help, name, OptionKind::Value, setFlag, set, nullptr};
}

const CommandOption options[] = {
    // Qt's own help option would also offer Qt's options, which this command does not take.
    runOption("help", "h", nullptr, "Show this help and exit."),
    runOption("version", "v", nullptr, "Show the version and exit."),
    runOption("batch", nullptr, "FILE", "Render every job of FILE, JSON Lines (\"-\": standard input)."),
    runOption("jobs", nullptr, "N", "Render N jobs of a batch at a time (default: one per core)."),
    runOption("list-fonts", nullptr, nullptr,
              "Print each font family once a line, its other names after tabs, and exit."),

    pictureValue("output", "o", "OUTPUT", "Write the picture to OUTPUT (\"-\": standard output).", setOutput),
    pictureValue("text-file", nullptr, "FILE", "Read the text from FILE (\"-\": standard input).", setTextFile),
    pictureValue("font", nullptr, "NAME", "Font family, by any of its names (see --list-fonts).", setFont),
    pictureValue("font-file", nullptr, "PATH", "Draw with the TrueType or OpenType font in PATH.", setFontFile),
    pictureValue("size", nullptr, "TEXT", "Size in points, as typed into the size box (default 14).",
                 [](RenderRequest& request, const QString& value) { request.sizeText = value; }),
    pictureFlag("bold", "Bold.", [](RenderRequest& request, bool on) { request.bold = on; }),
    pictureFlag("italic", "Italic.", [](RenderRequest& request, bool on) { request.italic = on; }),
    pictureFlag("underline", "Underline.", [](RenderRequest& request, bool on) { request.underline = on; }),
    pictureFlag("strike", "Strike-through.", [](RenderRequest& request, bool on) { request.strikethrough = on; }),
    pictureValue("color", nullptr, "COLOR", "Text colour.",
                 [](RenderRequest& request, const QString& value) {
                     request.color = colorValue(QStringLiteral("color"), value);
                 }),
    pictureValue("background", nullptr, "COLOR", "Background colour, #RRGGBBAA or transparent (PNG only).",
                 setBackground),
    pictureValue("picture", nullptr, "FILE", "Background picture tiled behind the text (.bmp, .jpg, .jpeg or .png).",
                 setPicture),
    pictureFlag("shadow", "Grey shadow.", [](RenderRequest& request, bool on) { request.shadow = on; }),
    pictureValues("outline", "W[:COLOR]",
                  "Outline W pixels (1-64) wide around the glyphs, beneath them, in COLOR (default 0, black; "
                  "#RRGGBBAA too); up to three times, each around the one before.",
                  setOutlines),
    pictureValue("shadow-color", nullptr, "COLOR",
                 "Shadow in COLOR (#RRGGBBAA too; default 7, light grey); turns the shadow on.", setShadowColor),
    pictureValue("shadow-offset", nullptr, "X,Y",
                 "Shadow moved X,Y pixels (-1000 to 1000; default a share of the size); turns the shadow on.",
                 setShadowOffset),
    pictureValue("shadow-blur", nullptr, "R",
                 "Soft shadow spreading R pixels (0-100; default 0, sharp); turns the shadow on.", setShadowBlur),
    pictureFlag("rainbow", "Rainbow-coloured characters.",
                [](RenderRequest& request, bool on) { request.rainbow = on; }),
    pictureFlag("frame", "One-pixel frame around the picture.",
                [](RenderRequest& request, bool on) { request.frame = on; }),
    pictureValue("quality", nullptr, "N", "JPEG quality from 1 to 255 (above 100 counts as 100; default 50).",
                 setQuality),
    pictureValue("width", nullptr, "PX", "Wrap lines to PX pixels; the text block is PX wide.",
                 [](RenderRequest& request, const QString& value) {
                     request.width = pixels(QStringLiteral("width"), value, 1);
                 }),
    pictureValue("wrap", nullptr, "MODE",
                 "Where lines wrap at --width: word (default), char, or none (cut at the edge).", setWrap),
    pictureValue("align", nullptr, "SIDE",
                 "Align every line: left (default), center or right; top, center or bottom in vertical text.",
                 setAlign),
    pictureFlag("vertical", "Vertical writing: columns top to bottom, following each other from right to left.",
                [](RenderRequest& request, bool on) { request.vertical = on; }),
    pictureValue("height", nullptr, "PX", "Vertical text: wrap columns to PX pixels; the text block is PX high.",
                 [](RenderRequest& request, const QString& value) {
                     request.height = pixels(QStringLiteral("height"), value, 1);
                 }),
    pictureValue("upright-digits", nullptr, "N",
                 "Vertical text: runs of at most N half-width characters stand upright in one em (0-4, default 2).",
                 setUprightDigits),
    pictureValue("latin", nullptr, "MODE", "Vertical text: Latin text turned (default) or upright.", setLatin),
    pictureValue("margin", nullptr, "M",
                 "Blank pixels around the picture: \"10\", \"10 20\" or \"1 2 3 4\" (CSS order).",
                 [](RenderRequest& request, const QString& value) { request.margins = marginsOf(value); }),
    pictureValue("letter-spacing", nullptr, "PX",
                 "Pixels added after every character; below 0 closer, down to minus half the font's pixel size.",
                 [](RenderRequest& request, const QString& value) { request.letterSpacing = letterSpacingOf(value); }),
    pictureValue("line-spacing", nullptr, "FACTOR", "Distance from line to line in line heights, 0.5 to 5 (default 1).",
                 [](RenderRequest& request, const QString& value) { request.lineSpacing = lineSpacingOf(value); }),
    pictureValue("missing", nullptr, "MODE",
                 "Characters no installed font can draw: ignore (default), warn, or error (no picture).", setMissing),
    pictureValueOrFlag("boxes", "FILE",
                       "Write a box for every character to FILE as JSON (in a batch job, \"boxes\": true adds "
                       "them to the result line).",
                       setBoxesFile, [](RenderRequest& request, bool on) { request.boxesInResult = on; }),
};

} // namespace

std::span<const CommandOption> commandOptions()
{
    return options;
}

const CommandOption* optionForJsonKey(const QString& key)
{
    for (const CommandOption& option : options) {
        if (option.jsonKey && key == QLatin1String(option.jsonKey))
            return &option;
    }
    return nullptr;
}

void checkRequest(const RenderRequest& request)
{
    if (request.output.isEmpty())
        usageError(QStringLiteral("no output given: use -o FILE, or -o - for standard output"));
    if (request.backgroundAlpha != 255 && !formatKeepsAlpha(request.format)) {
        usageError(QStringLiteral("a transparent background needs a PNG output: %1 has no alpha channel")
                       .arg(quoted(request.output)));
    }
    if (request.height > 0 && !request.vertical)
        usageError(QStringLiteral("--height is for vertical text (--vertical)"));
}

} // namespace sorvel::render_command
