#include "CommandLine.h"

#include "CommandError.h"
#include "image/JpegQuality.h"
#include "render/RenderTextImage.h"
#include "render/SettingsFromOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace sorvel::render_command {

namespace {

const QString description = QStringLiteral(
    "Renders a text as a picture, exactly as the Sorvel window draws it, and writes it to\n"
    "OUTPUT. The name's ending chooses the format: .png, .jpg (see --quality), .bmp or .gif\n"
    "(a Windows bitmap either way); \"-\" writes PNG to standard output.\n"
    "\n"
    "The text is the argument, the contents of --text-file, or else standard input (UTF-8;\n"
    "one line end at the very end of a file is not part of the text). Every line break\n"
    "starts a new line of the picture.\n"
    "\n"
    "COLOR is a palette index from 0 to 15 (0 black, 1 blue, 2 green, 3 cyan, 4 red,\n"
    "5 magenta, 6 yellow, 7 light grey, 8 grey, 9 light blue, 10 light green, 11 light\n"
    "cyan, 12 light red, 13 light magenta, 14 light yellow, 15 white) or #RRGGBB.\n"
    "Without options the picture is the window's at start-up: the default font at size 14,\n"
    "window text colour on window background colour.\n"
    "\n"
    "Exit status: 0 written, 1 a file could not be read or written or the font is not\n"
    "installed, 2 the command line is wrong. Nothing is left behind on failure.");

struct Options {
    QCommandLineOption output{{QStringLiteral("o"), QStringLiteral("output")},
                              QStringLiteral("Write the picture to OUTPUT (\"-\": standard output)."),
                              QStringLiteral("OUTPUT")};
    QCommandLineOption textFile{QStringLiteral("text-file"),
                                QStringLiteral("Read the text from FILE (\"-\": standard input)."),
                                QStringLiteral("FILE")};
    QCommandLineOption font{QStringLiteral("font"),
                            QStringLiteral("Font name, as the window's font list shows it."),
                            QStringLiteral("NAME")};
    QCommandLineOption size{QStringLiteral("size"),
                            QStringLiteral("Size in points, as typed into the size box (default 14)."),
                            QStringLiteral("TEXT")};
    QCommandLineOption bold{QStringLiteral("bold"), QStringLiteral("Bold.")};
    QCommandLineOption italic{QStringLiteral("italic"), QStringLiteral("Italic.")};
    QCommandLineOption underline{QStringLiteral("underline"), QStringLiteral("Underline.")};
    QCommandLineOption strike{QStringLiteral("strike"), QStringLiteral("Strike-through.")};
    QCommandLineOption color{QStringLiteral("color"), QStringLiteral("Text colour."),
                             QStringLiteral("COLOR")};
    QCommandLineOption background{QStringLiteral("background"), QStringLiteral("Background colour."),
                                  QStringLiteral("COLOR")};
    QCommandLineOption picture{QStringLiteral("picture"),
                               QStringLiteral("Background picture tiled behind the text (.bmp, .jpg or .png)."),
                               QStringLiteral("FILE")};
    QCommandLineOption shadow{QStringLiteral("shadow"), QStringLiteral("Grey shadow.")};
    QCommandLineOption rainbow{QStringLiteral("rainbow"), QStringLiteral("Rainbow-coloured characters.")};
    QCommandLineOption frame{QStringLiteral("frame"), QStringLiteral("One-pixel frame around the picture.")};
    QCommandLineOption quality{QStringLiteral("quality"),
                               QStringLiteral("JPEG quality from 1 to 255 (above 100 counts as 100; default 50)."),
                               QStringLiteral("N")};
};

ColorValue colorOption(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    const QString value = parser.value(option);
    const std::optional<ColorValue> color = colorFromText(value);
    if (!color) {
        usageError(QStringLiteral("--%1: %2 is neither a palette index from 0 to 15 nor #RRGGBB")
                       .arg(option.names().constLast(), quoted(value)));
    }
    return *color;
}

void readOutput(const QCommandLineParser& parser, const Options& options, RenderRequest& request)
{
    if (!parser.isSet(options.output) || parser.value(options.output).isEmpty())
        usageError(QStringLiteral("no output given: use -o FILE, or -o - for standard output"));
    request.output = parser.value(options.output);
    if (request.output == standardStream) {
        request.format = ImageFormat::Png;
        return;
    }
    request.format = imageFormatForPath(request.output);
    if (request.format == ImageFormat::None) {
        usageError(QStringLiteral("cannot tell the format of %1: the name must end in .png, .jpg, .bmp or .gif")
                       .arg(quoted(request.output)));
    }
}

void readText(const QCommandLineParser& parser, const Options& options, RenderRequest& request)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        usageError(QStringLiteral("%1 arguments where one text was expected (quote a text with blanks)").arg(positional.size()));
    const bool fromFile = parser.isSet(options.textFile);
    if (fromFile && !positional.isEmpty())
        usageError(QStringLiteral("the text is given twice: as an argument and with --text-file"));
    if (fromFile) {
        request.textFile = parser.value(options.textFile);
        if (request.textFile.isEmpty())
            usageError(QStringLiteral("--text-file: no file name"));
        request.textSource = request.textFile == standardStream ? RenderRequest::TextSource::StandardInput
                                                                : RenderRequest::TextSource::File;
    } else if (!positional.isEmpty()) {
        request.textSource = RenderRequest::TextSource::Argument;
        request.text = positional.constFirst();
    }
}

void readStyle(const QCommandLineParser& parser, const Options& options, RenderRequest& request)
{
    if (parser.isSet(options.font)) {
        request.fontName = parser.value(options.font);
        if (request.fontName->isEmpty())
            usageError(QStringLiteral("--font: no font name"));
    }
    if (parser.isSet(options.size))
        request.sizeText = parser.value(options.size);
    request.bold = parser.isSet(options.bold);
    request.italic = parser.isSet(options.italic);
    request.underline = parser.isSet(options.underline);
    request.strikethrough = parser.isSet(options.strike);
    if (parser.isSet(options.color))
        request.color = colorOption(parser, options.color);
    if (parser.isSet(options.background))
        request.background = colorOption(parser, options.background);
    request.shadow = parser.isSet(options.shadow);
    request.rainbow = parser.isSet(options.rainbow);
    request.frame = parser.isSet(options.frame);
}

void readPicture(const QCommandLineParser& parser, const Options& options, RenderRequest& request)
{
    if (!parser.isSet(options.picture))
        return;
    request.picture = parser.value(options.picture);
    if (request.picture.isEmpty())
        usageError(QStringLiteral("--picture: no file name"));
    if (backgroundFormatOf(request.picture) == BackgroundFormat::None) {
        usageError(QStringLiteral("--picture: %1 is not taken as a background: the name must end in .bmp, .jpg or .png")
                       .arg(quoted(request.picture)));
    }
}

void readQuality(const QCommandLineParser& parser, const Options& options, RenderRequest& request)
{
    if (!parser.isSet(options.quality))
        return;
    const QString value = parser.value(options.quality);
    const std::optional<std::uint8_t> quality = jpegWriterQuality(jpegQualityFromAnswer(value));
    if (!quality)
        usageError(QStringLiteral("--quality: %1 is not a number from 1 to 255").arg(quoted(value)));
    request.jpegQuality = *quality;
}

// Qt's messages can hold several lines, and the names they quote any character; the command
// reports one line.
QString oneLine(QString text)
{
    text.replace(u'\n', QStringLiteral("; "));
    text = withVisibleControls(text);
    text = text.trimmed();
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments)
{
    const Options options;
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Qt's own help option would also offer Qt's options, which this command does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOptions({help, version});
    parser.addOptions({options.output, options.textFile, options.font, options.size, options.bold,
                       options.italic, options.underline, options.strike, options.color,
                       options.background, options.picture, options.shadow, options.rainbow,
                       options.frame, options.quality});
    parser.addPositionalArgument(QStringLiteral("text"),
                                 QStringLiteral("The text (else --text-file or standard input)."),
                                 QStringLiteral("[text]"));

    ParsedCommandLine parsed;
    if (!parser.parse(arguments))
        usageError(oneLine(parser.errorText()));
    if (parser.isSet(help)) {
        parsed.action = ParsedCommandLine::Action::ShowHelp;
        // Without an application object yet, Qt leaves a placeholder for the program's name.
        parsed.shownText = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                     QCoreApplication::applicationName());
        return parsed;
    }
    if (parser.isSet(version)) {
        parsed.action = ParsedCommandLine::Action::ShowVersion;
        parsed.shownText = QCoreApplication::applicationName() + u' '
            + QCoreApplication::applicationVersion() + u'\n';
        return parsed;
    }
    RenderRequest& request = parsed.request;
    readOutput(parser, options, request);
    readText(parser, options, request);
    readStyle(parser, options, request);
    readPicture(parser, options, request);
    readQuality(parser, options, request);
    return parsed;
}

} // namespace sorvel::render_command
