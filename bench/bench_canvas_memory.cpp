// Memory at the canvas limit: a text of 40 lines of 150 characters at 300 points fills a
// canvas of the largest area there is (128 Mi pixels, 537 MB), which is then saved. Each case runs in
// a process of its own, and its peak resident memory (the kernel's high-water mark, as wait4()
// reports it) is printed against the canvas's bytes, one line per case:
// - "window": rendered with RenderTextImage and saved through the window's writers
//   (writePngFile, writeBmpFile, writeJpegFile at quality 50), in this program;
// - "sorvel-render": the sorvel-render program of the build tree writing the same picture to a
//   file, and as PNG to standard output (sent to /dev/null);
// - "render only": rendering without saving, the floor the others stand on;
// - "PNG with alpha": a see-through background, whose canvas has 8 bytes a pixel (1074 MB);
// - "copy": the window's copy to the clipboard, held while the next picture is rendered and
//   pasted as PNG once; and the clipboard keeper that serves the copy after the window has
//   closed (run on the offscreen platform, where it owns the clipboard at once, and stopped
//   once its peak stays put), a process of its own beside the window's.
// The copy is given against a limit of 2.2 times the canvas; everything else against 1.25 times
// the canvas plus 60 MB.
// Files go to a temporary folder under TMPDIR.
//   bench_canvas_memory
#include "image/ImageWriters.h"
#include "output/ClipboardKeeper.h"
#include "output/CopyImage.h"
#include "platform/QtClipboard.h"
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "render/RenderTextImage.h"

#include "SampleText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QThread>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace sorvel;

namespace {

constexpr double megabyte = 1e6;
constexpr double targetFactor = 1.25;
constexpr double targetExtraMB = 60.0;
constexpr double copyLimitFactor = 2.2;
constexpr int lines = 40;
constexpr int charactersPerLine = 150;
const QString pointSize = QStringLiteral("300");
const QString windowCase = QStringLiteral("--window-case");

QString benchText()
{
    return bench::sampleText(lines, charactersPerLine, QStringLiteral("\r\n"));
}

// The canvas of the largest area: 4 bytes a pixel, 8 with a see-through background.
double canvasMB(int bytesPerPixel = 4)
{
    return static_cast<double>(CanvasSurface::maxArea * bytesPerPixel) / megabyte;
}

// Renders as the window does, then writes format ("png", "bmp", "jpeg" or "none") to path.
// Exit status 0 when the picture had the largest area and was written.
int runWindowCase(int argc, char* argv[], const QString& format, const QString& path)
{
    QGuiApplication app(argc, argv);
    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    TextImageSettings settings;
    settings.Text = benchText();
    settings.FontSize = pointSize.toFloat();
    settings.SizeText = pointSize;
    RenderTextImage(settings, {canvas, label, holder});
    const QImage& image = canvas.image();
    const long long area = static_cast<long long>(canvas.scaleWidth()) * canvas.scaleHeight();
    // The largest area: no further row fits within the limit.
    if (image.isNull() || area + canvas.scaleWidth() <= CanvasSurface::maxArea) {
        std::fprintf(stderr, "the canvas is %d x %d, not the largest\n", canvas.scaleWidth(), canvas.scaleHeight());
        return 1;
    }
    const int width = canvas.scaleWidth();
    const int height = canvas.scaleHeight();
    if (format == u"copy") {
        // The window's copy keeps the image on the clipboard while the next rendering (a save
        // renders first) draws a new one; a paste then gets it as PNG, encoded as Qt's clipboard
        // encodes it.
        QtClipboard clipboard;
        const QImage copied = image;
        if (!copyImageToClipboard(clipboard, copied).ok())
            return 1;
        RenderTextImage(settings, {canvas, label, holder});
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        return copied.save(&buffer, "PNG") ? 0 : 1;
    }
    if (format == u"keeper") {
        // What the window hands the clipboard keeper at close (see ClipboardKeeper.cpp).
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && writeClipboardKeeperInput(image, file).ok() ? 0 : 1;
    }
    WriteResult result;
    if (format == u"png")
        result = writePngFile(image, width, height, path);
    else if (format == u"bmp")
        result = writeBmpFile(image, width, height, path);
    else if (format == u"jpeg")
        result = writeJpegFile(image, width, height, path, 50);
    if (!result.ok()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(result.systemMessage));
        return 1;
    }
    return 0;
}

// Runs program with arguments, standard output to outputPath (or inherited when empty); the
// peak resident memory in MB, or a negative number when it failed.
double peakOfChild(const QString& program, const QStringList& arguments, const QString& outputPath)
{
    std::vector<QByteArray> storage;
    storage.push_back(QFile::encodeName(program));
    for (const QString& argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& item : storage)
        argv.push_back(item.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray output = QFile::encodeName(outputPath);
    if (!outputPath.isEmpty())
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.constData(), O_WRONLY | O_TRUNC, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return static_cast<double>(usage.ru_maxrss) * 1024.0 / megabyte;
}

// The peak resident memory in MB of the clipboard keeper serving the PNG in inputPath. Where it
// cannot own the clipboard it ends after decoding; where it can, it runs until stopped, so it is
// stopped once its peak has stayed put for two seconds.
double peakOfKeeper(const QString& program, const QString& inputPath)
{
    const QByteArray path = QFile::encodeName(program);
    const QByteArray input = QFile::encodeName(inputPath);
    char* argv[] = {const_cast<char*>(path.constData()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.constData(), O_RDONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    const auto maxResidentMB = [](const rusage& usage) {
        return static_cast<double>(usage.ru_maxrss) * 1024.0 / megabyte;
    };
    QByteArray lastPeak;
    int steady = 0;
    int status = 0;
    rusage usage{};
    for (int tick = 0; tick < 600 && steady < 20; ++tick) {
        QThread::msleep(100);
        if (wait4(pid, &status, WNOHANG, &usage) == pid)
            return maxResidentMB(usage);
        QFile statusFile(QStringLiteral("/proc/%1/status").arg(pid));
        QByteArray peak;
        if (statusFile.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : statusFile.readAll().split('\n')) {
                if (line.startsWith("VmHWM:"))
                    peak = line;
            }
        }
        steady = !peak.isEmpty() && peak == lastPeak ? steady + 1 : 0;
        lastPeak = peak;
    }
    ::kill(pid, SIGTERM);
    return wait4(pid, &status, 0, &usage) == pid ? maxResidentMB(usage) : -1;
}

enum class Target { Save, Copy };

void printLine(const QString& name, double peakMB, int bytesPerPixel = 4, Target kind = Target::Save)
{
    const double canvas = canvasMB(bytesPerPixel);
    if (peakMB < 0) {
        std::printf("canvas limit, %s: FAILED\n", qPrintable(name));
        return;
    }
    const double target = kind == Target::Copy ? copyLimitFactor * canvas : targetFactor * canvas + targetExtraMB;
    std::printf("canvas limit, %s: peak %.0f MB for an %.0f MB canvas (%.2f times; target %.0f MB: %s)\n",
                qPrintable(name), peakMB, canvas, peakMB / canvas, target, peakMB <= target ? "met" : "MISSED");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && QString::fromLocal8Bit(argv[1]) == windowCase)
        return runWindowCase(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));

    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString self = QCoreApplication::applicationFilePath();
    const QString renderProgram = QDir(QCoreApplication::applicationDirPath()).filePath(u"../sorvel-render"_qs);
    const QString textFile = dir.filePath(u"text.txt"_qs);
    {
        QFile file(textFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(benchText().toUtf8()) < 0)
            return 1;
    }
    const auto windowPeak = [&](const QString& format, const QString& ending) {
        const QString path = dir.filePath(u"window"_qs + ending);
        const double peak = peakOfChild(self, {windowCase, format, path}, {});
        QFile::remove(path);
        return peak;
    };
    const auto commandPeak = [&](const QString& output, const QStringList& extra) {
        QStringList arguments{u"--size"_qs, pointSize, u"--text-file"_qs, textFile, u"-o"_qs, output};
        arguments << extra;
        const bool toStream = output == u"-";
        const double peak = peakOfChild(renderProgram, arguments, toStream ? u"/dev/null"_qs : QString());
        if (!toStream)
            QFile::remove(output);
        return peak;
    };
    printLine(u"render only (window)"_qs, windowPeak(u"none"_qs, {}));
    printLine(u"PNG (window save)"_qs, windowPeak(u"png"_qs, u".png"_qs));
    printLine(u"BMP (window save)"_qs, windowPeak(u"bmp"_qs, u".bmp"_qs));
    printLine(u"JPEG (window save)"_qs, windowPeak(u"jpeg"_qs, u".jpg"_qs));
    printLine(u"copy, rendered again and pasted as PNG (window)"_qs, windowPeak(u"copy"_qs, {}), 4, Target::Copy);
    const QString keeperProgram =
        QDir(QCoreApplication::applicationDirPath()).filePath(u"../sorvel-clipboard-keeper"_qs);
    const QString keeperInput = dir.filePath(u"keeper.png"_qs);
    if (QFileInfo(keeperProgram).isExecutable() && peakOfChild(self, {windowCase, u"keeper"_qs, keeperInput}, {}) > 0)
        printLine(u"copy kept after the window closed (sorvel-clipboard-keeper)"_qs,
                  peakOfKeeper(keeperProgram, keeperInput), 4, Target::Copy);
    QFile::remove(keeperInput);
    if (!QFileInfo(renderProgram).isExecutable()) {
        std::fprintf(stderr, "%s is not built: no sorvel-render cases\n", qPrintable(renderProgram));
        return 0;
    }
    printLine(u"PNG (sorvel-render)"_qs, commandPeak(dir.filePath(u"command.png"_qs), {}));
    printLine(u"PNG to standard output (sorvel-render)"_qs, commandPeak(u"-"_qs, {}));
    printLine(u"BMP (sorvel-render)"_qs, commandPeak(dir.filePath(u"command.bmp"_qs), {}));
    printLine(u"JPEG (sorvel-render)"_qs, commandPeak(dir.filePath(u"command.jpg"_qs), {u"--quality"_qs, u"50"_qs}));
    printLine(u"PNG with alpha (sorvel-render)"_qs,
              commandPeak(dir.filePath(u"alpha.png"_qs), {u"--background"_qs, u"transparent"_qs}), 8);
    return 0;
}
