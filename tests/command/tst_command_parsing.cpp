// sorvel-render's parsers in process: what a command line and a batch job line ask for, and the
// one-line reason for each one they refuse.
#include "command/BatchJob.h"
#include "command/CommandError.h"
#include "command/CommandLine.h"
#include "command/CommandOptions.h"
#include "command/RenderJob.h"
#include "render/CanvasSurface.h"

#include <QtTest>

using namespace sorvel;
using namespace sorvel::render_command;

Q_DECLARE_METATYPE(sorvel::render_command::RenderRequest)
Q_DECLARE_METATYPE(sorvel::render_command::ParsedCommandLine::Action)

namespace {

// The request of "-o a.png x": every row below changes it by what its options add.
RenderRequest plainRequest()
{
    RenderRequest request;
    request.output = QStringLiteral("a.png");
    request.format = ImageFormat::Png;
    request.textSource = RenderRequest::TextSource::Argument;
    request.text = QStringLiteral("x");
    return request;
}

template <typename Change> RenderRequest changed(Change change)
{
    RenderRequest request = plainRequest();
    change(request);
    return request;
}

QString describe(const RenderRequest& r)
{
    const auto optionalText = [](const auto& value) {
        return value ? QVariant::fromValue(*value).toString() : QStringLiteral("(none)");
    };
    return QStringLiteral("source %1 text '%2' file '%3' output '%4' format %5 quality %6 font %7 size %8 "
                          "styles %9%10%11%12 color %13 background %14/%15 picture '%16' effects %17%18%19 "
                          "width %20 wrap %21 align %22 margins %23 %24 %25 %26 font file '%27'")
               .arg(int(r.textSource))
               .arg(r.text, r.textFile, r.output)
               .arg(int(r.format))
               .arg(r.jpegQuality)
               .arg(optionalText(r.fontName), optionalText(r.sizeText))
               .arg(r.bold)
               .arg(r.italic)
               .arg(r.underline)
               .arg(r.strikethrough)
               .arg(optionalText(r.color), optionalText(r.background))
               .arg(r.backgroundAlpha)
               .arg(r.picture)
               .arg(r.shadow)
               .arg(r.rainbow)
               .arg(r.frame)
               .arg(r.width)
               .arg(r.wrap ? int(*r.wrap) : -1)
               .arg(int(r.align))
               .arg(r.margins.top)
               .arg(r.margins.right)
               .arg(r.margins.bottom)
               .arg(r.margins.left)
               .arg(r.fontFile) +
           QStringLiteral(" letter spacing %1 line spacing %2 missing %3 boxes '%4' %5 vertical %6 height %7 "
                          "upright digits %8 latin upright %9")
               .arg(r.letterSpacing)
               .arg(r.lineSpacing)
               .arg(static_cast<int>(r.missing))
               .arg(r.boxesFile)
               .arg(r.boxesInResult)
               .arg(r.vertical)
               .arg(r.height)
               .arg(r.uprightDigits)
               .arg(r.latinUpright);
}

// The CommandError that call raises; no value when it raises none.
template <typename Call> std::optional<CommandError> commandErrorOf(Call call)
{
    try {
        call();
    } catch (const CommandError& error) {
        return error;
    }
    return std::nullopt;
}

QStringList commandLine(const QStringList& arguments)
{
    return QStringList{QStringLiteral("sorvel-render")} + arguments;
}

} // namespace

class TestCommandParsing : public QObject {
    Q_OBJECT

private slots:
    void requestOfCommandLine_data();
    void requestOfCommandLine();
    void refusedCommandLine_data();
    void refusedCommandLine();
    void actionOfCommandLine_data();
    void actionOfCommandLine();
    void requestOfJobLine_data();
    void requestOfJobLine();
    void refusedJobLine_data();
    void refusedJobLine();
    void flagOptionAndJobKeyAgree_data();
    void flagOptionAndJobKeyAgree();
    void shadowsLookTurnsTheShadowOn();
};

// Each of the shadow's own options turns it on and changes only what it names; outlines pass
// to the renderer in the order given.
void TestCommandParsing::shadowsLookTurnsTheShadowOn()
{
    const auto settingsOf = [](const QStringList& options) {
        return settingsFor(parseCommandLine(commandLine(QStringList{"-o", "a.png", "x"} + options)).request, "x");
    };
    QVERIFY(!settingsOf({}).Shadow);
    QVERIFY(settingsOf({"--shadow"}).ShadowStyle.isWindows());
    const TextImageSettings blurred = settingsOf({"--shadow-blur", "6"});
    QVERIFY(blurred.Shadow);
    QCOMPARE(blurred.ShadowStyle.blur, 6);
    QVERIFY(!blurred.ShadowStyle.color && !blurred.ShadowStyle.offset);
    const TextImageSettings moved = settingsOf({"--shadow-offset", "-2,5", "--shadow-color", "#00FF0040"});
    QVERIFY(moved.Shadow);
    QCOMPARE(*moved.ShadowStyle.offset, QPoint(-2, 5));
    QCOMPARE(*moved.ShadowStyle.color, rgbColor(0, 255, 0));
    QCOMPARE(moved.ShadowStyle.alpha, 0x40);
    QCOMPARE(moved.ShadowStyle.blur, 0);
    const TextImageSettings outlined = settingsOf({"--outline", "3:12", "--outline", "1"});
    QVERIFY(!outlined.Shadow);
    QCOMPARE(outlined.Outlines.size(), std::size_t{2});
    QCOMPARE(outlined.Outlines[0].width, 3);
    QCOMPARE(outlined.Outlines[1].color, rgbColor(0, 0, 0));
}

void TestCommandParsing::requestOfCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<RenderRequest>("expected");

    const auto row = [](const char* name, const QStringList& arguments, const RenderRequest& expected) {
        QTest::newRow(name) << arguments << expected;
    };
    row("plain", {"-o", "a.png", "x"}, plainRequest());
    row("long output with =", {"--output=a.png", "x"}, plainRequest());
    row("ending in capitals", {"-o", "a.JPG", "x"}, changed([](RenderRequest& r) {
            r.output = "a.JPG";
            r.format = ImageFormat::Jpeg;
        }));
    row(".jpeg is JPEG too", {"-o", "a.Jpeg", "x"}, changed([](RenderRequest& r) {
            r.output = "a.Jpeg";
            r.format = ImageFormat::Jpeg;
        }));
    row(".jpeg picture", {"-o", "a.png", "--picture", "p.jpeg", "x"},
        changed([](RenderRequest& r) { r.picture = "p.jpeg"; }));
    row("gif writes a bitmap", {"-o", "a.gif", "x"}, changed([](RenderRequest& r) {
            r.output = "a.gif";
            r.format = ImageFormat::Bitmap;
        }));
    row("standard output is PNG", {"-o", "-", "x"}, changed([](RenderRequest& r) { r.output = "-"; }));
    row("text after --", {"-o", "a.png", "--", "-dash"}, changed([](RenderRequest& r) { r.text = "-dash"; }));
    row("text from standard input", {"-o", "a.png"}, changed([](RenderRequest& r) {
            r.textSource = RenderRequest::TextSource::StandardInput;
            r.text.clear();
        }));
    row("text file", {"-o", "a.png", "--text-file", "t.txt"}, changed([](RenderRequest& r) {
            r.textSource = RenderRequest::TextSource::File;
            r.textFile = "t.txt";
            r.text.clear();
        }));
    row("text file -", {"-o", "a.png", "--text-file", "-"}, changed([](RenderRequest& r) {
            r.textSource = RenderRequest::TextSource::StandardInput;
            r.textFile = "-";
            r.text.clear();
        }));
    row("styles and effects",
        {"-o", "a.png", "x", "--bold", "--italic", "--underline", "--strike", "--shadow", "--rainbow", "--frame"},
        changed([](RenderRequest& r) {
            r.bold = r.italic = r.underline = r.strikethrough = true;
            r.shadow = r.rainbow = r.frame = true;
        }));
    row("font and size as typed", {"-o", "a.png", "x", "--font", "DejaVu Serif", "--size", " 12.5"},
        changed([](RenderRequest& r) {
            r.fontName = "DejaVu Serif";
            r.sizeText = " 12.5";
        }));
    row("the last of one option counts", {"-o", "a.png", "x", "--size", "12", "--size", "14"},
        changed([](RenderRequest& r) { r.sizeText = "14"; }));
    row("palette colour", {"-o", "a.png", "x", "--color", "12"},
        changed([](RenderRequest& r) { r.color = rgbColor(255, 0, 0); }));
    row("#RRGGBB background", {"-o", "a.png", "x", "--background", "#FFF8E0"},
        changed([](RenderRequest& r) { r.background = rgbColor(0xFF, 0xF8, 0xE0); }));
    row("transparent", {"-o", "a.png", "x", "--background", "transparent"}, changed([](RenderRequest& r) {
            r.background = rgbColor(255, 255, 255);
            r.backgroundAlpha = 0;
        }));
    row("#RRGGBBAA", {"-o", "a.png", "x", "--background", "#FF800080"}, changed([](RenderRequest& r) {
            r.background = rgbColor(0xFF, 0x80, 0x00);
            r.backgroundAlpha = 0x80;
        }));
    row("quality above 100 (the writer takes it as 100)", {"-o", "a.jpg", "x", "--quality", "150"},
        changed([](RenderRequest& r) {
            r.output = "a.jpg";
            r.format = ImageFormat::Jpeg;
            r.jpegQuality = 150;
        }));
    row("background picture", {"-o", "a.png", "x", "--picture", "paper.JPG"},
        changed([](RenderRequest& r) { r.picture = "paper.JPG"; }));
    row("width alone leaves the wrap to the renderer", {"-o", "a.png", "x", "--width", "60"},
        changed([](RenderRequest& r) { r.width = 60; }));
    row("wrap and align", {"-o", "a.png", "x", "--wrap", "char", "--align", "right"}, changed([](RenderRequest& r) {
            r.wrap = WrapMode::Character;
            r.align = LineAlignment::Right;
        }));
    row("vertical text", {"-o", "a.png", "x", "--vertical", "--height", "300", "--align", "bottom"},
        changed([](RenderRequest& r) {
            r.vertical = true;
            r.height = 300;
            r.align = LineAlignment::Right;
        }));
    row("vertical text's own options",
        {"-o", "a.png", "x", "--vertical", "--upright-digits", "0", "--latin", "upright", "--align", "top"},
        changed([](RenderRequest& r) {
            r.vertical = true;
            r.uprightDigits = 0;
            r.latinUpright = true;
        }));
    row("latin turned is the default", {"-o", "a.png", "x", "--vertical", "--upright-digits", "4", "--latin", "turned"},
        changed([](RenderRequest& r) {
            r.vertical = true;
            r.uprightDigits = 4;
        }));
    row("one margin", {"-o", "a.png", "x", "--margin", "10"}, changed([](RenderRequest& r) {
            r.margins = {10, 10, 10, 10};
        }));
    row("two margins", {"-o", "a.png", "x", "--margin", "10 20"}, changed([](RenderRequest& r) {
            r.margins = {10, 20, 10, 20};
        }));
    row("three margins", {"-o", "a.png", "x", "--margin", " 1  2 3 "}, changed([](RenderRequest& r) {
            r.margins = {1, 2, 3, 2};
        }));
    row("four margins", {"-o", "a.png", "x", "--margin", "1 2 3 4"}, changed([](RenderRequest& r) {
            r.margins = {1, 2, 3, 4};
        }));
    row("font file", {"-o", "a.png", "x", "--font-file", "face.ttf"},
        changed([](RenderRequest& r) { r.fontFile = "face.ttf"; }));
    row("spacing", {"-o", "a.png", "x", "--letter-spacing", "-2.5", "--line-spacing", "1.25"},
        changed([](RenderRequest& r) {
            r.letterSpacing = -2.5;
            r.lineSpacing = 1.25;
        }));
    row("spacing at its bounds", {"-o", "a.png", "x", "--letter-spacing", "1000", "--line-spacing", "0.5"},
        changed([](RenderRequest& r) {
            r.letterSpacing = 1000;
            r.lineSpacing = 0.5;
        }));
    row("missing characters", {"-o", "a.png", "x", "--missing", "warn"},
        changed([](RenderRequest& r) { r.missing = RenderRequest::Missing::Warn; }));
    row("boxes file", {"-o", "a.png", "x", "--boxes", "b.json", "--missing", "error"}, changed([](RenderRequest& r) {
            r.boxesFile = "b.json";
            r.missing = RenderRequest::Missing::Error;
        }));
    row("outlines in the order given",
        {"-o", "a.png", "x", "--outline", "2", "--outline", "4:12", "--outline", "64:#10203080"},
        changed([](RenderRequest& r) {
            r.outlines = {
                {2, rgbColor(0, 0, 0), 255}, {4, rgbColor(255, 0, 0), 255}, {64, rgbColor(0x10, 0x20, 0x30), 0x80}};
        }));
    row("shadow's own look",
        {"-o", "a.png", "x", "--shadow-color", "#11223344", "--shadow-offset", "-3, 1000", "--shadow-blur", "100"},
        changed([](RenderRequest& r) {
            r.shadowColor = rgbColor(0x11, 0x22, 0x33);
            r.shadowAlpha = 0x44;
            r.shadowOffset = QPoint(-3, 1000);
            r.shadowBlur = 100;
        }));
    row("sharp shadow at the window's offset", {"-o", "a.png", "x", "--shadow-color", "4", "--shadow-blur", "0"},
        changed([](RenderRequest& r) {
            r.shadowColor = rgbColor(128, 0, 0);
            r.shadowBlur = 0;
        }));
}

void TestCommandParsing::requestOfCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(RenderRequest, expected);
    const ParsedCommandLine parsed = parseCommandLine(commandLine(arguments));
    QCOMPARE(parsed.action, ParsedCommandLine::Action::Render);
    QVERIFY2(parsed.request == expected, qPrintable(describe(parsed.request) + "\nexpected\n" + describe(expected)));
}

void TestCommandParsing::refusedCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const QString largest = QString::number(CanvasSurface::maxSide);
    QTest::newRow("unknown option") << QStringList{"--nope", "x"} << "Unknown option 'nope'";
    QTest::newRow("missing value") << QStringList{"x", "--size"} << "Missing value after '--size'";
    QTest::newRow("value of a flag") << QStringList{"--bold=1", "-o", "a.png", "x"}
                                     << "Unexpected value after '--bold'";
    QTest::newRow("no output") << QStringList{"x"} << "no output given: use -o FILE, or -o - for standard output";
    QTest::newRow("empty output") << QStringList{"-o", "", "x"}
                                  << "no output given: use -o FILE, or -o - for standard output";
    QTest::newRow("unknown ending") << QStringList{"-o", "x.tiff", "x"}
                                    << "cannot tell the format of 'x.tiff': the name must end in .png, .jpg, .jpeg, "
                                       ".bmp or .gif";
    QTest::newRow("two texts") << QStringList{"-o", "a.png", "x", "y"}
                               << "2 arguments where one text was expected (quote a text with blanks)";
    QTest::newRow("text twice") << QStringList{"-o", "a.png", "--text-file", "t.txt", "x"}
                                << "the text is given twice: as an argument and with --text-file";
    QTest::newRow("empty text file") << QStringList{"-o", "a.png", "--text-file", "", "x"}
                                     << "--text-file: no file name";
    QTest::newRow("empty font") << QStringList{"-o", "a.png", "--font", "", "x"} << "--font: no font name";
    QTest::newRow("empty font file") << QStringList{"-o", "a.png", "--font-file", "", "x"}
                                     << "--font-file: no file name";
    QTest::newRow("palette index 16") << QStringList{"-o", "a.png", "--color", "16", "x"}
                                      << "--color: '16' is neither a palette index from 0 to 15 nor #RRGGBB";
    QTest::newRow("line break in a value") << QStringList{"-o", "a.png", "--color", "1\n2", "x"}
                                           << "--color: '1\\n2' is neither a palette index from 0 to 15 nor #RRGGBB";
    QTest::newRow("short background") << QStringList{"-o", "a.png", "--background", "#F800", "x"}
                                      << "--background: '#F800' is neither a palette index from 0 to 15, #RRGGBB, "
                                         "#RRGGBBAA nor transparent";
    QTest::newRow("transparent JPEG") << QStringList{"-o", "a.jpg", "--background", "transparent", "x"}
                                      << "a transparent background needs a PNG output: 'a.jpg' has no alpha channel";
    QTest::newRow("see-through bitmap") << QStringList{"-o", "a.gif", "--background", "#FF800080", "x"}
                                        << "a transparent background needs a PNG output: 'a.gif' has no alpha channel";
    QTest::newRow("empty picture") << QStringList{"-o", "a.png", "--picture", "", "x"} << "--picture: no file name";
    QTest::newRow("gif picture") << QStringList{"-o", "a.png", "--picture", "a.gif", "x"}
                                 << "--picture: 'a.gif' is not taken as a background: the name must end in .bmp, .jpg, "
                                    ".jpeg or .png";
    QTest::newRow("quality 0") << QStringList{"-o", "a.jpg", "--quality", "0", "x"}
                               << "--quality: '0' is not a number from 1 to 255";
    QTest::newRow("quality 256") << QStringList{"-o", "a.jpg", "--quality", "256", "x"}
                                 << "--quality: '256' is not a number from 1 to 255";
    QTest::newRow("width 0") << QStringList{"-o", "a.png", "--width", "0", "x"}
                             << "--width: '0' is not a whole number of pixels from 1 to " + largest;
    QTest::newRow("width beyond the canvas")
        << QStringList{"-o", "a.png", "--width", QString::number(CanvasSurface::maxSide + 1), "x"}
        << "--width: '" + QString::number(CanvasSurface::maxSide + 1) + "' is not a whole number of pixels from 1 to " +
               largest;
    QTest::newRow("negative margin") << QStringList{"-o", "a.png", "--margin", "-1", "x"}
                                     << "--margin: '-1' is not a whole number of pixels from 0 to " + largest;
    QTest::newRow("five margins") << QStringList{"-o", "a.png", "--margin", "1 2 3 4 5", "x"}
                                  << "--margin: '1 2 3 4 5' is not one to four whole numbers of pixels (top right "
                                     "bottom left)";
    QTest::newRow("no margin") << QStringList{"-o", "a.png", "--margin", " ", "x"}
                               << "--margin: ' ' is not one to four whole numbers of pixels (top right bottom left)";
    QTest::newRow("wrap") << QStringList{"-o", "a.png", "--wrap", "Word", "x"}
                          << "--wrap: 'Word' is not word, char or none";
    QTest::newRow("align") << QStringList{"-o", "a.png", "--align", "middle", "x"}
                           << "--align: 'middle' is not left, center or right (top, center or bottom)";
    QTest::newRow("height without vertical")
        << QStringList{"-o", "a.png", "--height", "100", "x"} << "--height is for vertical text (--vertical)";
    QTest::newRow("height 0") << QStringList{"-o", "a.png", "--vertical", "--height", "0", "x"}
                              << "--height: '0' is not a whole number of pixels from 1 to " + largest;
    QTest::newRow("upright digits 5") << QStringList{"-o", "a.png", "--vertical", "--upright-digits", "5", "x"}
                                      << "--upright-digits: '5' is not a number from 0 to 4";
    QTest::newRow("latin") << QStringList{"-o", "a.png", "--vertical", "--latin", "sideways", "x"}
                           << "--latin: 'sideways' is not turned or upright";
    QTest::newRow("outline 0") << QStringList{"-o", "a.png", "--outline", "0", "x"}
                               << "--outline: '0' is not a width in whole pixels from 1 to 64";
    QTest::newRow("outline 65") << QStringList{"-o", "a.png", "--outline", "65:1", "x"}
                                << "--outline: '65' is not a width in whole pixels from 1 to 64";
    QTest::newRow("outline without a width") << QStringList{"-o", "a.png", "--outline", ":1", "x"}
                                             << "--outline: '' is not a width in whole pixels from 1 to 64";
    QTest::newRow("outline colour") << QStringList{"-o", "a.png", "--outline", "2:16", "x"}
                                    << "--outline: '16' is neither a palette index from 0 to 15, #RRGGBB nor "
                                       "#RRGGBBAA";
    QTest::newRow("four outlines") << QStringList{"-o",        "a.png", "--outline", "1", "--outline", "1",
                                                  "--outline", "1",     "--outline", "1", "x"}
                                   << "--outline: 4 outlines where at most 3 are taken";
    QTest::newRow("shadow colour") << QStringList{"-o", "a.png", "--shadow-color", "#12345", "x"}
                                   << "--shadow-color: '#12345' is neither a palette index from 0 to 15, #RRGGBB nor "
                                      "#RRGGBBAA";
    QTest::newRow("one offset") << QStringList{"-o", "a.png", "--shadow-offset", "3", "x"}
                                << "--shadow-offset: '3' is not X,Y in whole pixels from -1000 to 1000";
    QTest::newRow("offset beyond") << QStringList{"-o", "a.png", "--shadow-offset", "0,-1001", "x"}
                                   << "--shadow-offset: '0,-1001' is not X,Y in whole pixels from -1000 to 1000";
    QTest::newRow("blur 101") << QStringList{"-o", "a.png", "--shadow-blur", "101", "x"}
                              << "--shadow-blur: '101' is not a reach in whole pixels from 0 to 100";
    QTest::newRow("negative blur") << QStringList{"-o", "a.png", "--shadow-blur", "-1", "x"}
                                   << "--shadow-blur: '-1' is not a reach in whole pixels from 0 to 100";
    QTest::newRow("jobs without a batch")
        << QStringList{"-o", "a.png", "--jobs", "2", "x"} << "--jobs is for a batch (--batch FILE)";
    QTest::newRow("jobs 0") << QStringList{"--batch", "-", "--jobs", "0"}
                            << "--jobs: '0' is not a number from 1 to 1024";
    QTest::newRow("jobs 1025") << QStringList{"--batch", "-", "--jobs", "1025"}
                               << "--jobs: '1025' is not a number from 1 to 1024";
    QTest::newRow("empty batch") << QStringList{"--batch", ""} << "--batch: no file name";
    QTest::newRow("text with a batch") << QStringList{"--batch", "-", "x"}
                                       << "a batch takes its texts from its jobs, not from the command line";
    QTest::newRow("letter spacing beyond its range")
        << QStringList{"-o", "a.png", "--letter-spacing", "-1001", "x"}
        << "--letter-spacing: '-1001' is not a number of pixels from -1000 to 1000";
    QTest::newRow("letter spacing in words") << QStringList{"-o", "a.png", "--letter-spacing", "wide", "x"}
                                             << "--letter-spacing: 'wide' is not a number of pixels from -1000 to 1000";
    QTest::newRow("line spacing below a half") << QStringList{"-o", "a.png", "--line-spacing", "0.4", "x"}
                                               << "--line-spacing: '0.4' is not a number of line heights from 0.5 to 5";
    QTest::newRow("line spacing above 5") << QStringList{"-o", "a.png", "--line-spacing", "5.001", "x"}
                                          << "--line-spacing: '5.001' is not a number of line heights from 0.5 to 5";
    QTest::newRow("negative line spacing") << QStringList{"-o", "a.png", "--line-spacing", "-1", "x"}
                                           << "--line-spacing: '-1' is not a number of line heights from 0.5 to 5";
    QTest::newRow("missing") << QStringList{"-o", "a.png", "--missing", "fail", "x"}
                             << "--missing: 'fail' is not ignore, warn or error";
    QTest::newRow("boxes to standard output")
        << QStringList{"-o", "a.png", "--boxes", "-", "x"} << "--boxes: give a file name";
    QTest::newRow("boxes file for a batch")
        << QStringList{"--batch", "-", "--boxes", "b.json"}
        << R"(--boxes FILE is for one picture: a batch job asks with "boxes": true)";
    QTest::newRow("a batch's defaults are checked")
        << QStringList{"--batch", "-", "--wrap", "x"} << "--wrap: 'x' is not word, char or none";
}

void TestCommandParsing::refusedCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const std::optional<CommandError> error = commandErrorOf([&] { parseCommandLine(commandLine(arguments)); });
    QVERIFY(error);
    QCOMPARE(error->status(), UsageError);
    QCOMPARE(error->message(), message);
}

void TestCommandParsing::actionOfCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<ParsedCommandLine::Action>("action");
    QTest::addColumn<QString>("batchFile");
    QTest::addColumn<int>("jobs");

    QTest::newRow("help before anything else")
        << QStringList{"--bold", "-h", "--wrap", "x"} << ParsedCommandLine::Action::ShowHelp << QString() << 0;
    QTest::newRow("version") << QStringList{"-v"} << ParsedCommandLine::Action::ShowVersion << QString() << 0;
    QTest::newRow("fonts without an output")
        << QStringList{"--list-fonts"} << ParsedCommandLine::Action::ListFonts << QString() << 0;
    QTest::newRow("batch from standard input")
        << QStringList{"--batch", "-"} << ParsedCommandLine::Action::Batch << QStringLiteral("-") << 0;
    QTest::newRow("batch with jobs") << QStringList{"--batch", "jobs.jsonl", "--jobs", "3", "--bold"}
                                     << ParsedCommandLine::Action::Batch << QStringLiteral("jobs.jsonl") << 3;
}

void TestCommandParsing::actionOfCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(ParsedCommandLine::Action, action);
    QFETCH(QString, batchFile);
    QFETCH(int, jobs);
    const ParsedCommandLine parsed = parseCommandLine(commandLine(arguments));
    QCOMPARE(parsed.action, action);
    QCOMPARE(parsed.batchFile, batchFile);
    QCOMPARE(parsed.jobs, jobs);
    const bool shows =
        action == ParsedCommandLine::Action::ShowHelp || action == ParsedCommandLine::Action::ShowVersion;
    QCOMPARE(parsed.shownText.endsWith(u'\n'), shows);
    if (action == ParsedCommandLine::Action::Batch)
        QCOMPARE(parsed.request.bold, arguments.contains("--bold"));
}

void TestCommandParsing::requestOfJobLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<RenderRequest>("expected");

    QTest::newRow("text and output") << QByteArray(R"({"text": "x", "output": "a.png"})") << plainRequest();
    QTest::newRow("flag") << QByteArray(R"({"text": "x", "output": "a.png", "bold": true})")
                          << changed([](RenderRequest& r) { r.bold = true; });
    QTest::newRow("whole number") << QByteArray(R"({"text": "x", "output": "a.png", "size": 14})")
                                  << changed([](RenderRequest& r) { r.sizeText = "14"; });
    QTest::newRow("fraction") << QByteArray(R"({"text": "x", "output": "a.png", "size": 12.5})")
                              << changed([](RenderRequest& r) { r.sizeText = "12.5"; });
    QTest::newRow("vertical job") << QByteArray(R"({"text": "x", "output": "a.png", "vertical": true, "height": 240, )"
                                                R"("upright-digits": 3, "latin": "upright", "align": "center"})")
                                  << changed([](RenderRequest& r) {
                                         r.vertical = true;
                                         r.height = 240;
                                         r.uprightDigits = 3;
                                         r.latinUpright = true;
                                         r.align = LineAlignment::Center;
                                     });
    QTest::newRow("number for a list") << QByteArray(R"({"text": "x", "output": "a.png", "margin": 10})")
                                       << changed([](RenderRequest& r) {
                                              r.margins = {10, 10, 10, 10};
                                          });
    QTest::newRow("string for a number") << QByteArray(R"({"text": "x", "output": "a.png", "color": "12"})")
                                         << changed([](RenderRequest& r) { r.color = rgbColor(255, 0, 0); });
    QTest::newRow("text file") << QByteArray(R"({"text-file": "t.txt", "output": "a.bmp"})")
                               << changed([](RenderRequest& r) {
                                      r.textSource = RenderRequest::TextSource::File;
                                      r.textFile = "t.txt";
                                      r.text.clear();
                                      r.output = "a.bmp";
                                      r.format = ImageFormat::Bitmap;
                                  });
    QTest::newRow("boxes in the result") << QByteArray(R"({"text": "x", "output": "a.png", "boxes": true})")
                                         << changed([](RenderRequest& r) { r.boxesInResult = true; });
    QTest::newRow("spacing as numbers")
        << QByteArray(R"({"text": "x", "output": "a.png", "letter-spacing": -1.5, "line-spacing": 2})")
        << changed([](RenderRequest& r) {
               r.letterSpacing = -1.5;
               r.lineSpacing = 2;
           });
    QTest::newRow("outlines as an array")
        << QByteArray(R"({"text": "x", "output": "a.png", "outline": ["2:15", 3]})") << changed([](RenderRequest& r) {
               r.outlines = {{2, rgbColor(255, 255, 255), 255}, {3}};
           });
    QTest::newRow("one outline as a number") << QByteArray(R"({"text": "x", "output": "a.png", "outline": 5})")
                                             << changed([](RenderRequest& r) { r.outlines = {{5}}; });
    QTest::newRow("no outline") << QByteArray(R"({"text": "x", "output": "a.png", "outline": []})") << plainRequest();
    QTest::newRow("shadow offset") << QByteArray(R"({"text": "x", "output": "a.png", "shadow-offset": "4,-2"})")
                                   << changed([](RenderRequest& r) {
                                          r.shadow = true; // the default of the run, kept
                                          r.shadowOffset = QPoint(4, -2);
                                      });
    QTest::newRow("a key turns a default off")
        << QByteArray(R"({"text": "x", "output": "a.png", "shadow": false})") << plainRequest();
}

void TestCommandParsing::requestOfJobLine()
{
    QFETCH(QByteArray, line);
    QFETCH(RenderRequest, expected);
    RenderRequest defaults;
    defaults.shadow = true;
    if (!line.contains("shadow"))
        expected.shadow = true;
    const RenderRequest request = jobRequest(line, defaults);
    QVERIFY2(request == expected, qPrintable(describe(request) + "\nexpected\n" + describe(expected)));
}

void TestCommandParsing::refusedJobLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("message");

    QTest::newRow("not JSON") << QByteArray("not json") << "not JSON: illegal value at column 2";
    QTest::newRow("an array") << QByteArray("[1]") << R"(a job is a JSON object ({"text": ..., "output": ...}))";
    QTest::newRow("unknown key") << QByteArray(R"({"text": "x", "output": "a.png", "nope": 1})")
                                 << "unknown key 'nope'";
    QTest::newRow("an option of the run")
        << QByteArray(R"({"text": "x", "output": "a.png", "jobs": 2})") << "unknown key 'jobs'";
    QTest::newRow("flag as a number") << QByteArray(R"({"text": "x", "output": "a.png", "bold": 1})")
                                      << R"("bold" must be true or false)";
    QTest::newRow("value as a list") << QByteArray(R"({"text": "x", "output": "a.png", "size": [14]})")
                                     << R"("size" must be a string or a number)";
    QTest::newRow("outline as an object") << QByteArray(R"({"text": "x", "output": "a.png", "outline": [{}]})")
                                          << R"("outline" must be a string, a number or an array of them)";
    QTest::newRow("four outlines in a job")
        << QByteArray(R"({"text": "x", "output": "a.png", "outline": [1, 1, 1, 1]})")
        << "--outline: 4 outlines where at most 3 are taken";
    QTest::newRow("text as a number") << QByteArray(R"({"text": 3, "output": "a.png"})")
                                      << R"("text" must be a string)";
    QTest::newRow("a value the option refuses")
        << QByteArray(R"({"text": "x", "output": "a.png", "width": 0.5})")
        << "--width: '0.5' is not a whole number of pixels from 1 to " + QString::number(CanvasSurface::maxSide);
    QTest::newRow("no output") << QByteArray(R"({"text": "x"})") << R"(no output: give "output")";
    QTest::newRow("standard output") << QByteArray(R"({"text": "x", "output": "-"})")
                                     << R"(a batch writes its results to standard output: give "output" a file name)";
    QTest::newRow("no text") << QByteArray(R"({"output": "a.png"})")
                             << R"(no text: give "text" or "text-file" (a batch cannot read one from standard input))";
    QTest::newRow("text twice") << QByteArray(R"({"text": "x", "text-file": "t.txt", "output": "a.png"})")
                                << R"(the text is given twice: as "text" and as "text-file")";
    QTest::newRow("boxes file in a batch") << QByteArray(R"({"text": "x", "output": "a.png", "boxes": "b.json"})")
                                           << R"(a batch gives the boxes in its result lines: give "boxes": true)";
    QTest::newRow("boxes as a number") << QByteArray(R"({"text": "x", "output": "a.png", "boxes": 1})")
                                       << R"(a batch gives the boxes in its result lines: give "boxes": true)";
    QTest::newRow("transparent bitmap") << QByteArray(
                                               R"({"text": "x", "output": "a.bmp", "background": "transparent"})")
                                        << "a transparent background needs a PNG output: 'a.bmp' has no alpha channel";
}

void TestCommandParsing::refusedJobLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, message);
    const std::optional<CommandError> error = commandErrorOf([&] { jobRequest(line, RenderRequest()); });
    QVERIFY(error);
    QCOMPARE(error->status(), UsageError);
    QCOMPARE(error->message(), message);
}

void TestCommandParsing::flagOptionAndJobKeyAgree_data()
{
    QTest::addColumn<QString>("name");
    for (const CommandOption& option : commandOptions()) {
        if (option.isPictureOption() && option.kind == OptionKind::Flag)
            QTest::newRow(option.name) << option.longName();
    }
}

// Each flag changes the request, and the same way from the command line as from a job line.
void TestCommandParsing::flagOptionAndJobKeyAgree()
{
    QFETCH(QString, name);
    const RenderRequest fromCommandLine = parseCommandLine(commandLine({"-o", "a.png", "x", "--" + name})).request;
    const RenderRequest fromJob =
        jobRequest(QStringLiteral(R"({"text": "x", "output": "a.png", "%1": true})").arg(name).toUtf8(), {});
    QVERIFY(fromCommandLine != plainRequest());
    QVERIFY(fromCommandLine == fromJob);
}

QTEST_GUILESS_MAIN(TestCommandParsing)
#include "tst_command_parsing.moc"
