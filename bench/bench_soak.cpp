// Soak: 10,000 renderings through RenderTextImage on the same surfaces, as a long session of
// the window makes them, with random settings: texts of 0 to 2,000 characters in mixed
// scripts, sizes (some the fonts refuse), every effect, and each kind of background picture
// (BMP, 16-bit BMP, JPEG, PNG with alpha, a damaged file, a missing one, an ending no reader
// takes), some files replaced on the way. Prints one line: the resident memory after the first
// 100 renderings and at the end, and the growth between them (under 5 MB is the target); each
// measured after a small rendering, with freed heap given back (see retainedMB).
//   bench_soak [RENDERINGS]
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PaletteColor.h"
#include "render/PictureHolder.h"
#include "render/RenderTextImage.h"
#include "text/FontSystem.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include <malloc.h>
#include <unistd.h>

using namespace sorvel;

namespace {

constexpr double growthLimitMB = 5.0;
constexpr int warmUpRenderings = 100;

double residentPages()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() : -1;
}

// What the process keeps between renderings: measured after a small rendering has replaced the
// last (possibly large) canvas, Qt's timers have run, and freed heap has gone back to the system.
double retainedMB(const RenderSurfaces& surfaces)
{
    TextImageSettings small;
    small.Text = QStringLiteral("soak");
    RenderTextImage(small, surfaces);
    QCoreApplication::processEvents();
    malloc_trim(0);
    return residentPages() * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Pieces the texts are made of: several scripts, combining marks, emoji, line breaks.
const QStringList pieces = {QStringLiteral("The quick brown fox "),
                            QStringLiteral("jumps over "),
                            QStringLiteral("0123456789 "),
                            QStringLiteral("文字を絵にする"),
                            QStringLiteral("ソーヴェル、半角ｶﾅ "),
                            QStringLiteral("한국어 "),
                            QStringLiteral("مرحبا بالعالم "),
                            QStringLiteral("שלום "),
                            QStringLiteral("नमस्ते "),
                            QStringLiteral("สวัสดี "),
                            QStringLiteral("e\u0301\u0302\u0303 "),
                            QStringLiteral("👨‍👩‍👧 🇯🇵 👍🏽 "),
                            QStringLiteral("&&a&b "),
                            QStringLiteral("\r\n"),
                            QStringLiteral("\t"),
                            QStringLiteral("Ｗ")};

QString randomText(std::mt19937& random)
{
    const int length = std::uniform_int_distribution<int>(0, 2000)(random);
    QString text;
    std::uniform_int_distribution<qsizetype> piece(0, pieces.size() - 1);
    while (text.size() < length)
        text += pieces[piece(random)];
    text.truncate(length);
    return text;
}

QImage samplePicture(int width, int height, bool alpha)
{
    QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgba(x * 255 / width, y * 255 / height, (x ^ y) & 0xff, alpha ? (x * 8) & 0xff : 255));
    return image;
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A 5-6-5 BMP of 4 x 4 pixels.
QByteArray bmp16()
{
    QByteArray bytes("BM");
    const auto put32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i)
            bytes.append(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    const auto put16 = [&](quint16 v) { bytes.append(static_cast<char>(v & 0xff)).append(static_cast<char>(v >> 8)); };
    put32(66 + 32);
    put32(0);
    put32(66);
    put32(40);
    put32(4);
    put32(4);
    put16(1);
    put16(16);
    put32(3);
    put32(32);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    put32(0xf800);
    put32(0x07e0);
    put32(0x001f);
    for (int i = 0; i < 16; ++i)
        put16(static_cast<quint16>(i * 4099));
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    // Decoders and font fallback complain about every damaged file and missing script; the
    // one line this program prints is what counts.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    const int renderings = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (renderings <= warmUpRenderings) {
        std::fprintf(stderr, "usage: bench_soak [RENDERINGS above %d]\n", warmUpRenderings);
        return 2;
    }

    QTemporaryDir dir;
    const QString tileBmp = dir.filePath(QStringLiteral("tile.bmp")),
                  tileJpg = dir.filePath(QStringLiteral("tile.jpg")),
                  tilePng = dir.filePath(QStringLiteral("tile.png")), bigPng = dir.filePath(QStringLiteral("big.png"));
    if (!dir.isValid() || !samplePicture(24, 16, false).save(tileBmp) ||
        !samplePicture(40, 30, false).save(tileJpg, "jpeg") || !samplePicture(17, 13, true).save(tilePng) ||
        !samplePicture(300, 200, true).save(bigPng) || !writeBytes(dir.filePath(QStringLiteral("deep.bmp")), bmp16()) ||
        !writeBytes(dir.filePath(QStringLiteral("damaged.png")),
                    QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(200, 'x')) ||
        !writeBytes(dir.filePath(QStringLiteral("damaged.jpg")),
                    QByteArray("\xff\xd8\xff", 3) + QByteArray(200, 'y'))) {
        std::fprintf(stderr, "bench_soak: cannot write the pictures\n");
        return 1;
    }
    const QStringList pictures = {QString(),
                                  tileBmp,
                                  tileJpg,
                                  tilePng,
                                  bigPng,
                                  dir.filePath(QStringLiteral("deep.bmp")),
                                  dir.filePath(QStringLiteral("damaged.png")),
                                  dir.filePath(QStringLiteral("damaged.jpg")),
                                  dir.filePath(QStringLiteral("missing.png")),
                                  dir.filePath(QStringLiteral("tile.jpeg"))};
    const QStringList sizes = {QStringLiteral("8"),    QStringLiteral("10.5"), QStringLiteral("14"),
                               QStringLiteral("18"),   QStringLiteral("24"),   QStringLiteral("36"),
                               QStringLiteral("48"),   QStringLiteral("abc"),  QStringLiteral("0"),
                               QStringLiteral("99999")};
    const QStringList fonts = {defaultFontName, QStringLiteral("DejaVu Sans"), QStringLiteral("MS Serif")};

    std::mt19937 random(20261208);
    const auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
    const auto pick = [&](const QStringList& list) {
        return list[std::uniform_int_distribution<qsizetype>(0, list.size() - 1)(random)];
    };

    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    double afterWarmUp = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < renderings; ++i) {
        TextImageSettings s;
        s.Text = randomText(random);
        s.FontName = pick(fonts);
        s.SizeText = pick(sizes);
        bool ok = false;
        const double points = s.SizeText.toDouble(&ok);
        s.FontSize =
            ok && points > 0 && points <= 48 ? static_cast<float>(points) : static_cast<float>(designFontPoints);
        s.FontBold = chance(30);
        s.FontItalic = chance(30);
        s.FontUnderline = chance(20);
        s.FontStrikethrough = chance(20);
        s.ForeColor = PaletteColor(std::uniform_int_distribution<int>(0, 15)(random));
        s.BackColor = PaletteColor(std::uniform_int_distribution<int>(0, 15)(random));
        s.backgroundPicture = pick(pictures);
        s.Shadow = chance(30);
        s.Rainbow = chance(30);
        s.Framed = chance(30);
        RenderTextImage(s, {canvas, label, holder});
        // The window returns to its event loop between keystrokes; Qt's caches are trimmed there.
        QCoreApplication::processEvents();
        // Now and then a picture file is replaced, as an editor saving it would.
        if (i % 500 == 250 && !samplePicture(24 + i % 7, 16, false).save(tileBmp)) {
            std::fprintf(stderr, "bench_soak: cannot replace %s\n", qPrintable(tileBmp));
            return 1;
        }
        if (i + 1 == warmUpRenderings)
            afterWarmUp = retainedMB({canvas, label, holder});
    }
    const double atEnd = retainedMB({canvas, label, holder});
    const double growth = atEnd - afterWarmUp;
    std::printf(
        "soak %d renderings: resident %.1f MB after %d, %.1f MB at the end, growth %.1f MB (target < %g MB), %.1f s%s\n",
        renderings, afterWarmUp, warmUpRenderings, atEnd, growth, growthLimitMB, timer.elapsed() / 1000.0,
        growth < growthLimitMB ? "" : "  OVER");
    return 0;
}
