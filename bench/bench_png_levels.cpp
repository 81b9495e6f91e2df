// What each zlib level of the PNG encoder costs and saves on the pictures of the peer benchmark
// (bench/peers: the same texts, font and size), black on white (greyscale), in red (palette)
// and in rainbow colours (RGB). Prints one line per picture and level: the file size and the
// median encoding time, each against Qt's own PNG writer at its defaults (RGB, zlib level 6,
// filters chosen per row), which the first line of each picture shows.
#include "Median.h"
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "image/PngEncoder.h"
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

// The word list and generator of bench/peers.
QString wordLine(int length, quint32& state)
{
    static const QStringList words =
        QStringLiteral("lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod tempor incididunt ut "
                       "labore et dolore magna aliqua enim ad minim veniam quis nostrud exercitation ullamco laboris "
                       "nisi aliquip ex ea commodo consequat duis aute irure in reprehenderit voluptate velit esse "
                       "cillum fugiat nulla pariatur excepteur sint occaecat cupidatat non proident sunt culpa qui "
                       "officia deserunt mollit anim id est laborum")
            .split(u' ');
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

QByteArray qtDefaultPng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

QByteArray encodedAtLevel(const QImage& image, int level)
{
    QByteArray bytes;
    encodePngImage(image, image.width(), image.height(), bytes, level);
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
            const int runs = image.width() * image.height() > 1000000 ? 7 : 31;
            const char* colourNames[] = {"", ", red", ", rainbow"};
            const char* typeNames[] = {"grey", "palette", "RGB"};
            const PngColourType type = pngLayoutOf(image, image.width(), image.height()).type;
            const QString picture = QStringLiteral("%1%2 (%3 x %4, %5)")
                                        .arg(QLatin1String(c.name), QLatin1String(colourNames[colours]))
                                        .arg(image.width())
                                        .arg(image.height())
                                        .arg(QLatin1String(typeNames[static_cast<int>(type)]));

            const double qtMs = medianMs(runs, [&] { qtDefaultPng(image); });
            const auto qtSize = static_cast<double>(qtDefaultPng(image).size());
            std::printf("%-52s Qt's writer %9.0f bytes            %8.2f ms\n", qPrintable(picture), qtSize, qtMs);
            for (int level = 1; level <= 9; ++level) {
                const double ms = medianMs(runs, [&] { encodedAtLevel(image, level); });
                const auto size = static_cast<double>(encodedAtLevel(image, level).size());
                std::printf("%-52s level %d%s  %9.0f bytes %+6.1f%%   %8.2f ms %+6.1f%%\n", qPrintable(picture), level,
                            level == defaultPngLevel(type) ? " (us)" : "     ", size, 100.0 * (size / qtSize - 1.0), ms,
                            100.0 * (ms / qtMs - 1.0));
            }
        }
    }
    return 0;
}
