#pragma once
// What the command line of sorvel-render asks for. Checks everything that needs neither the
// font system nor a file: option names and values, colours, the output name and the quality.

#include "platform/ColorValue.h"
#include "image/ImageFormatChoice.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace sorvel::render_command {

inline const QString standardStream = QStringLiteral("-");
constexpr std::uint8_t defaultJpegQuality = 50;

struct RenderRequest {
    enum class TextSource { Argument, File, StandardInput };

    TextSource textSource = TextSource::StandardInput;
    QString text;                          // the text argument
    QString textFile;                      // --text-file ("-": standard input)
    QString output;                        // "-": PNG to standard output
    ImageFormat format = ImageFormat::Png;
    std::uint8_t jpegQuality = defaultJpegQuality;
    std::optional<QString> fontName;
    std::optional<QString> sizeText;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    std::optional<ColorValue> color;
    std::optional<ColorValue> background;
    QString picture;
    bool shadow = false;
    bool rainbow = false;
    bool frame = false;
};

struct ParsedCommandLine {
    enum class Action { Render, ShowHelp, ShowVersion };

    Action action = Action::Render;
    QString shownText;        // the help or version text, ending in a line end
    RenderRequest request;    // for Render
};

// arguments as main() received them, the program's name first. Raises CommandError with
// UsageError for an unknown option, a missing or impossible value, or a missing output.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

} // namespace sorvel::render_command
