#pragma once
// What the command line of sorvel-render asks for. Checks everything that needs neither the
// font system nor a file: option names and values, colours, the output name and the quality.

#include "platform/ColorValue.h"
#include "image/ImageFormatTable.h"
#include "render/PictureMargins.h"
#include "render/TextImageSettings.h"
#include "text/TextLayoutOptions.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace sorvel::render_command {

inline const QString standardStream = QStringLiteral("-");
constexpr std::uint8_t defaultJpegQuality = 50;
constexpr int maxOutlines = 3;
constexpr int maxOutlineWidth = 64;
constexpr int maxShadowOffset = 1000;
constexpr int maxShadowBlur = 100;

struct RenderRequest {
    enum class TextSource { Argument, File, StandardInput };
    // What a text with characters no installed font can draw does.
    enum class Missing { Ignore, Warn, Error };

    TextSource textSource = TextSource::StandardInput;
    QString text;     // the text argument
    QString textFile; // --text-file ("-": standard input)
    QString output;   // "-": PNG to standard output
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
    std::vector<TextOutline> outlines;     // --outline, from the glyphs outwards
    std::optional<ColorValue> shadowColor; // --shadow-color (any of these three turns the shadow on)
    int shadowAlpha = 255;
    std::optional<QPoint> shadowOffset; // --shadow-offset
    std::optional<int> shadowBlur;      // --shadow-blur
    bool rainbow = false;
    bool frame = false;
    int width = 0;                // --width; 0: none
    std::optional<WrapMode> wrap; // --wrap; word when a width is given
    LineAlignment align = LineAlignment::Left;
    bool vertical = false;     // --vertical
    int height = 0;            // --height; 0: none
    int uprightDigits = 2;     // --upright-digits
    bool latinUpright = false; // --latin upright
    PictureMargins margins;
    int backgroundAlpha = 255;         // --background transparent or #RRGGBBAA
    QString fontFile;                  // --font-file
    double letterSpacing = 0.0;        // --letter-spacing, pixels
    double lineSpacing = 1.0;          // --line-spacing, line heights
    Missing missing = Missing::Ignore; // --missing
    QString boxesFile;                 // --boxes FILE: the character boxes as JSON
    bool boxesInResult = false;        // "boxes": true in a batch job

    bool operator==(const RenderRequest&) const = default;
};

struct ParsedCommandLine {
    enum class Action { Render, Batch, ListFonts, ShowHelp, ShowVersion };

    Action action = Action::Render;
    QString shownText;     // the help or version text, ending in a line end
    RenderRequest request; // for Render; for Batch the defaults of every job
    QString batchFile;     // for Batch ("-": standard input)
    int jobs = 0;          // for Batch: jobs rendered at a time; 0: one per core
};

// arguments as main() received them, the program's name first. Raises CommandError with
// UsageError for an unknown option, a missing or impossible value, or (outside a batch) a
// missing output.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

} // namespace sorvel::render_command
