// What each zlib level of the PNG writer costs and saves on the pictures of the peer benchmark
// (bench/peers: the same texts, font and size), black on white (greyscale PNG), in red (RGB,
// one colour) and in rainbow colours (RGB). Prints one line per picture and level: the file
// size, relative to level 6 of the same colour type and to the file Qt's writer makes with
// its defaults (RGB, level 6), and the median encoding time relative to level 6; a last line
// per picture for the writer as shipped.
#include "Median.h"
#include "platform/CanvasSurface.h"
#include "platform/GreyscaleCopy.h"
#include "platform/ImageWriters.h"
#include "platform/MeasuringLabel.h"
#include "platform/PictureHolder.h"
#include "render/RenderTextImage.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageWriter>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace sorvel;
using sorvel::bench::medianMs;

namespace {

constexpr int defaultLevel = 6;

// The word list and generator of bench/peers.
QString wordLine(int length, quint32& state)
{
    static const QStringList words = QStringLiteral(
        "lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod tempor incididunt ut "
        "labore et dolore magna aliqua enim ad minim veniam quis nostrud exercitation ullamco laboris "
        "nisi aliquip ex ea commodo consequat duis aute irure in reprehenderit voluptate velit esse "
        "cillum fugiat nulla pariatur excepteur sint occaecat cupidatat non proident sunt culpa qui "
        "officia deserunt mollit anim id est laborum").split(u' ');
    QString line;
    while (line.size() < length) {
        state = (state * 1103515245u + 12345u) & 0x7fffffffu;
        line += words.at(static_cast<qsizetype>((state >> 16) % static_cast<quint32>(words.size()))) + u' ';
    }
    line.truncate(length);
    return line;
}

QString wordLines(int lines, int length)
{
    quint32 state = 1;
    QStringList out;
    for (int i = 0; i < lines; ++i)
        out << wordLine(length, state);
    return out.join(QStringLiteral("\r\n"));
}

QString japanese200()
{
    const QString poem = QStringLiteral(
        "いろはにほへと　ちりぬるを　わかよたれそ　つねならむ　うゐのおくやま　けふこえて　あさきゆめみし　"
        "ゑひもせす。色は匂へど散りぬるを、我が世誰ぞ常ならむ。有為の奥山今日越えて、浅き夢見じ酔ひもせず。");
    QString text;
    while (text.size() < 200)
        text += poem;
    text.truncate(200);
    return text;
}


// Qt's PNG writer maps a quality q to the zlib level (100 - q) * 9 / 91.
int qualityForLevel(int level)
{
    return 100 - (level * 91 + 8) / 9;
}

QByteArray encodeAtLevel(const QImage& image, int level)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(qualityForLevel(level));
    writer.write(image);
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    struct Case {
        const char* name;
        QString text;
        bool shadow;
    };
    const std::vector<Case> cases = {
        {"20 ASCII", QStringLiteral("Sorvel renders text!"), false},
        {"1,000 on one line", wordLines(1, 1000), false},
        {"10,000 as 100 x 100", wordLines(100, 100), false},
        {"200 Japanese", japanese200(), false},
        {"1,000 with shadow", wordLines(1, 1000), true},
        {"10,000 with shadow", wordLines(100, 100), true},
    };
    for (const Case& c : cases) {
        CanvasSurface canvas;
        MeasuringLabel label;
        PictureHolder holder;
        TextImageSettings settings;
        settings.FontName = QStringLiteral("IPAPGothic");
        settings.Text = c.text;
        settings.Shadow = c.shadow;
        for (const int colours : {0, 1, 2}) {
        settings.ForeColor = colours == 1 ? rgbColor(255, 0, 0) : systemWindowText;
        settings.Rainbow = colours == 2;
        RenderTextImage(settings, {canvas, label, holder});
        const QImage image = canvas.image();
        // The pixels as the writer encodes them.
        const std::optional<QImage> grey = greyscaleCopy(image);
        const QImage pixels = grey ? *grey : image;
        const int runs = image.width() * image.height() > 1000000 ? 7 : 31;
        const char* colourNames[] = {"", ", red", ", rainbow"};
        std::printf("%s%s: %d x %d, %s\n", c.name, colourNames[colours], image.width(), image.height(),
                    grey ? "greyscale" : "RGB");
        QByteArray qtDefault;
        {
            QBuffer buffer(&qtDefault);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter(&buffer, "png").write(image);
        }
        const auto qtDefaultSize = static_cast<double>(qtDefault.size());

        const double defaultMs = medianMs(runs, [&] { encodeAtLevel(pixels, defaultLevel); });
        const double defaultSize = static_cast<double>(encodeAtLevel(pixels, defaultLevel).size());
        for (int level = 1; level <= 9; ++level) {
            const double ms = medianMs(runs, [&] { encodeAtLevel(pixels, level); });
            const auto size = static_cast<double>(encodeAtLevel(pixels, level).size());
            std::printf("  level %d  %9.0f bytes %+6.1f%% %+6.1f%%   %8.2f ms %+6.1f%%\n", level, size,
                        100.0 * (size / defaultSize - 1.0), 100.0 * (size / qtDefaultSize - 1.0), ms,
                        100.0 * (ms / defaultMs - 1.0));
        }
        QByteArray shipped;
        const double ms = medianMs(runs, [&] { encodePNG(image, image.width(), image.height(), shipped); });
        const auto shippedSize = static_cast<double>(shipped.size());
        std::printf("  shipped  %9.0f bytes %+6.1f%% %+6.1f%%   %8.2f ms %+6.1f%%\n", shippedSize,
                    100.0 * (shippedSize / defaultSize - 1.0), 100.0 * (shippedSize / qtDefaultSize - 1.0), ms,
                    100.0 * (ms / defaultMs - 1.0));
        }
    }
    return 0;
}
