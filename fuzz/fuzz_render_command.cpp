// The command line of sorvel-render: arbitrary arguments and job text never crash, never hang,
// and never write anywhere but the named output.
//
// Input layout:
//   byte 0       n, the number of arguments (taken modulo maxArguments + 1)
//   n arguments  UTF-8, each ending in a NUL byte (missing ones are empty)
//   the rest     the job text: what standard input or the --text-file holds
//
// The arguments go through the command's own parser unchanged. What a parsed request then
// touches is kept inside a sandbox folder: the output is always the sandbox's "out" (standard
// output too), a text file or standard input hold the job text, and a picture name stands for
// one of the sandbox's pictures (good, damaged or missing) with the same ending. After each
// run the sandbox holds exactly what it held before, plus "out" when the command succeeded,
// and no file anywhere else in it has changed.
//
// With --batch, the job text is the batch file: each of its lines is parsed as a job on top of
// the command line's defaults, exactly as a batch does, and each request it makes goes through
// runRequest() the same way (its text file, if it names one, holds the line itself).

#include "FuzzSupport.h"

#include "command/BatchJob.h"
#include "command/CommandError.h"
#include "command/CommandLine.h"
#include "command/RenderJob.h"
#include "command/TextInput.h"
#include "image/ImageFormatTable.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <map>

using namespace sorvel;
using namespace sorvel::fuzzing;
using namespace sorvel::render_command;

namespace {

constexpr int maxArguments = 24;
constexpr qsizetype maxTextUnits = 400; // longer texts only repeat what fuzz_render_text covers

QTemporaryDir& sandbox()
{
    static QTemporaryDir dir;
    return dir;
}

QString inSandbox(const QString& name)
{
    return sandbox().filePath(name);
}

const QString outputName = QStringLiteral("out");

// Every file of the sandbox with its contents.
std::map<QString, QByteArray> sandboxFiles()
{
    std::map<QString, QByteArray> files;
    const QDir dir(sandbox().path());
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        QFile file(dir.filePath(name));
        files[name] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }
    return files;
}

void writeSandboxFile(const QString& name, const QByteArray& bytes)
{
    QFile file(inSandbox(name));
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
            "the sandbox takes its pictures");
}

QByteArray encodedPicture(const char* format, bool alpha)
{
    QImage image(7, 5, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(alpha ? QColor(200, 40, 40, 120) : QColor(40, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    require(image.save(&buffer, format), "a sample picture can be encoded");
    return bytes;
}

void makeSandbox()
{
    require(sandbox().isValid(), "a sandbox folder");
    writeSandboxFile(QStringLiteral("tile.png"), encodedPicture("png", true));
    writeSandboxFile(QStringLiteral("tile.bmp"), encodedPicture("bmp", false));
    writeSandboxFile(QStringLiteral("tile.jpg"), encodedPicture("jpeg", false));
    writeSandboxFile(QStringLiteral("damaged.png"), QByteArray("\x89PNG\r\n\x1a\n but no more", 20));
    writeSandboxFile(QStringLiteral("damaged.bmp"), QByteArray("BM and nothing else"));
    require(QDir(sandbox().path()).mkdir(QStringLiteral("folder.png")), "a folder in the sandbox");
}

// The sandbox's stand-in for a picture name: a picture of the same kind, a damaged one, a
// folder or a missing file, with the name's ending (the ending chooses the reader).
QString pictureStandIn(const QString& name)
{
    const QString ending = name.right(4);
    const std::optional<PictureKind> reader = backgroundReaderFor(name);
    const QString kind = reader == PictureKind::Png ? QStringLiteral("png") : QStringLiteral("bmp");
    switch (qHash(name) % 5) {
    case 0:
        return inSandbox(QStringLiteral("missing") + ending);
    case 1:
        return inSandbox(QStringLiteral("damaged.") + kind);
    case 2:
        return inSandbox(QStringLiteral("folder.png"));
    case 3:
        if (reader == PictureKind::BitmapOrJpeg)
            return inSandbox(QStringLiteral("tile.jpg"));
        [[fallthrough]];
    default:
        return inSandbox(QStringLiteral("tile.") + kind);
    }
}

void requireOneLine(const CommandError& error)
{
    require(error.status() == Failed || error.status() == UsageError, "a failure ends with status 1 or 2");
    require(!error.message().isEmpty() && !error.message().contains(u'\n') && !error.message().contains(u'\r'),
            "a failure is one line");
}

// One request, as parsed, run within the sandbox: the output and every file it names are the
// sandbox's; the text comes from the argument or from jobText.
void runRequest(RenderRequest request, const QByteArray& jobText)
{
    const std::map<QString, QByteArray> before = sandboxFiles();
    request.output = inSandbox(outputName);
    // The character boxes go beside the output, written only with it.
    const QString boxesName = QStringLiteral("boxes.json");
    if (!request.boxesFile.isEmpty())
        request.boxesFile = inSandbox(boxesName);
    if (!request.picture.isEmpty())
        request.picture = pictureStandIn(request.picture);
    // A font file stands for a file that is not a font, or a missing one.
    if (!request.fontFile.isEmpty())
        request.fontFile =
            inSandbox(qHash(request.fontFile) % 2 ? QStringLiteral("tile.png") : QStringLiteral("missing.ttf"));
    bool written = false;
    try {
        QString text;
        if (request.textSource == RenderRequest::TextSource::Argument) {
            text = readRenderText(request);
        } else {
            const std::optional<QString> fromFile = textOfFileBytes(jobText);
            if (!fromFile)
                return;
            text = *fromFile;
        }
        if (text.size() > maxTextUnits)
            return;
        renderAndWrite(request, settingsFor(request, text));
        written = true;
    } catch (const CommandError& error) {
        requireOneLine(error);
    }

    std::map<QString, QByteArray> after = sandboxFiles();
    const auto out = after.find(outputName);
    require(written == (out != after.end()), "the output is there exactly when the command succeeded");
    if (out != after.end()) {
        require(!out->second.isEmpty(), "the output holds a picture");
        if (request.format != ImageFormat::Jpeg)
            require(!QImage::fromData(out->second).isNull(), "the output reads back as a picture");
        after.erase(out);
        QFile::remove(inSandbox(outputName));
    }
    const auto boxes = after.find(boxesName);
    require(boxes == after.end() || (written && !request.boxesFile.isEmpty()), "boxes only with the picture");
    if (boxes != after.end()) {
        require(QJsonDocument::fromJson(boxes->second).isObject(), "the boxes file is JSON");
        after.erase(boxes);
        QFile::remove(inSandbox(boxesName));
    }
    require(after == before, "nothing but the output is written");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startOffscreenApplication();
    makeSandbox();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int count = data[0] % (maxArguments + 1);
    QStringList arguments{QStringLiteral("sorvel-render")};
    std::size_t at = 1;
    for (int i = 0; i < count; ++i) {
        std::size_t end = at;
        while (end < size && data[end] != 0)
            ++end;
        arguments.append(QString::fromUtf8(reinterpret_cast<const char*>(data + at), static_cast<qsizetype>(end - at)));
        at = std::min(end + 1, size);
    }
    const QByteArray jobText(reinterpret_cast<const char*>(data + at), static_cast<qsizetype>(size - at));

    ParsedCommandLine parsed;
    try {
        parsed = parseCommandLine(arguments);
    } catch (const CommandError& error) {
        requireOneLine(error);
        require(error.status() == UsageError, "a command line it cannot take is a usage error");
        return 0;
    }
    switch (parsed.action) {
    case ParsedCommandLine::Action::Render:
        runRequest(parsed.request, jobText);
        break;
    case ParsedCommandLine::Action::Batch:
        for (const QByteArray& line : jobText.split('\n')) {
            if (line.trimmed().isEmpty())
                continue;
            try {
                runRequest(jobRequest(line, parsed.request), line);
            } catch (const CommandError& error) {
                requireOneLine(error);
                require(error.status() == UsageError, "a job line it cannot take is a usage error");
            }
        }
        break;
    case ParsedCommandLine::Action::ListFonts:
        break;
    case ParsedCommandLine::Action::ShowHelp:
    case ParsedCommandLine::Action::ShowVersion:
        require(parsed.shownText.endsWith(u'\n'), "help and version end in a line end");
        break;
    }
    return 0;
}
