// Rendering costs on every keystroke. Prints one line per case: name, median milliseconds.
#include "Median.h"
#include "SampleText.h"
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "render/PrintedText.h"
#include "render/RenderTextImage.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace sorvel;

namespace {

// Warm-up first: font caches, decoder.
double medianMs(int runs, const std::function<void()>& work)
{
    work();
    return bench::medianMs(runs, work);
}

void report(const char* name, double ms, double target)
{
    std::printf("%-28s median %8.3f ms   (target <= %g ms)%s\n", name, ms, target, ms <= target ? "" : "  OVER");
}

// Every run types a different last character, as a keystroke does, so no layout is reused.
std::function<void()> typing(TextImageSettings& s, const RenderSurfaces& surfaces)
{
    return [&s, &surfaces, n = 0]() mutable {
        s.Text[s.Text.size() - 1] = QChar(u'a' + (n++ % 26));
        RenderTextImage(s, surfaces);
    };
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    const RenderSurfaces surfaces{canvas, label, holder};

    TextImageSettings s;
    s.Text = bench::sampleText(1, 100, QStringLiteral("\r\n"));
    report("line 100 chars", medianMs(201, typing(s, surfaces)), 0.5);

    s.Text = bench::sampleText(100, 100, QStringLiteral("\r\n"));
    report("10000 chars plain", medianMs(31, typing(s, surfaces)), 12);
    s.Rainbow = true;
    report("10000 chars rainbow", medianMs(31, typing(s, surfaces)), 16);
    s.Rainbow = false;
    s.Outlines = {{3, rgbColor(255, 255, 255)}};
    report("10000 chars outline 1", medianMs(31, typing(s, surfaces)), 16);
    s.Outlines = {{3, rgbColor(255, 255, 255)}, {2, rgbColor(255, 0, 0)}, {3, rgbColor(0, 0, 0)}};
    report("10000 chars outline 3", medianMs(31, typing(s, surfaces)), 48);
    s.Outlines.clear();

    s.Text = bench::sampleText(10, 100, QStringLiteral("\r\n"));
    s.Shadow = true;
    s.ShadowStyle.blur = 8;
    s.ShadowStyle.offset = QPoint(3, 3);
    report("1000 chars soft shadow 8", medianMs(31, typing(s, surfaces)), 16);
    s.Shadow = false;
    s.ShadowStyle = {};
    s.Text = bench::sampleText(100, 100, QStringLiteral("\r\n"));

    // Vertical text within twice the horizontal time: the Latin sample turns in 100 columns;
    // the kana stand upright in the font's vertical forms (against the same kana in lines).
    s.Layout.vertical = true;
    report("10000 chars vertical", medianMs(31, typing(s, surfaces)), 24);
    s.Text = bench::sampleText(100, 100, QStringLiteral("\r\n"), bench::kanaAlphabet);
    report("10000 kana vertical", medianMs(31, typing(s, surfaces)), 32);
    s.Layout = {};
    report("10000 kana plain", medianMs(31, typing(s, surfaces)), 32);
    s.Text = bench::sampleText(100, 100, QStringLiteral("\r\n"));
    s.Layout.letterSpacing = 2;
    s.Layout.lineSpacing = 1.5;
    report("10000 chars spaced", medianMs(31, typing(s, surfaces)), 12);
    s.Layout = {};

    // An emoji (a skin tone, a flag or a face) every tenth character, drawn in colour.
    const QString emoji[] = {u"\U0001F44D\U0001F3FD"_qs, u"\U0001F1EF\U0001F1F5"_qs, u"\U0001F600"_qs};
    QString withEmoji;
    for (qsizetype i = 0; i < s.Text.size(); ++i)
        withEmoji += i % 10 == 5 && s.Text[i] != u'\r' && s.Text[i] != u'\n' ? emoji[i % 3] : QString(s.Text[i]);
    s.Text = withEmoji;
    report("10000 chars, 1000 emoji", medianMs(31, typing(s, surfaces)), 16);
    report("  the same, layout only",
           medianMs(31,
                    [&, n = 0]() mutable {
                        s.Text[s.Text.size() - 1] = QChar(u'a' + (n++ % 26));
                        MeasuringLabel measuring;
                        measuring.setFont(canvasFontOf(s));
                        measuring.setCaption(s.Text);
                        (void)measuring.width();
                    }),
           16);

    // What a batch job with "boxes": true adds to its rendering: the layout is the rendering's.
    s.Text = bench::sampleText(100, 100, QStringLiteral("\r\n"));
    TextPlacement placement;
    renderTextImageWithPlacement(s, surfaces, placement);
    report("10000 chars missing scan", medianMs(31, [&] { printedMissingCharacters(s.Text, placement); }), 2);
    report("10000 chars boxes", medianMs(11, [&] { printedCharacterBoxes(s.Text, placement); }), 100);

    for (int side : {1, 32}) {
        QImage tile(side, side, QImage::Format_RGB32);
        tile.fill(qRgb(10, 20, 30));
        CanvasSurface wide;
        wide.clear();
        wide.setWidth(4000);
        wide.setHeight(1000);
        const double ms = medianMs(31, [&] { wide.drawTiled(tile, 4000, 1000); });
        report(side == 1 ? "tile 1x1 on 4000x1000" : "tile 32x32 on 4000x1000", ms, side == 1 ? 16 : 2);
    }

    QTemporaryDir dir;
    QImage photo(2000, 2000, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    photo.save(path, "JPEG", 90);
    s.Text = bench::sampleText(1, 20, QStringLiteral("\r\n"));
    s.backgroundPicture = path;
    report("2000x2000 jpeg background", medianMs(31, typing(s, surfaces)), 3);
    return 0;
}
