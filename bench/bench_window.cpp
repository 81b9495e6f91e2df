// A user's action through the real window, from the input event until the preview has painted
// the new picture, next to the renderer's own time for the same rendering. Prints one line per
// case: name, window median, renderer median, their ratio, and whether it meets its target (at
// most 1.5 times the renderer and at most 16 ms). A last line times a key from its event until
// the text box has painted it while a rendering of a second runs (at most 16 ms).
#include "app/CanvasView.h"
#include "app/ColorSwatch.h"
#include "app/SorvelMainTestView.h"
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "render/RenderTextImage.h"

#include "SampleText.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

using namespace sorvel;

namespace {

constexpr double maxRatio = 1.5;
constexpr double frameMs = 16.0;

// Tells when the preview has painted.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

struct Bench {
    SorvelMain& window;
    SorvelMainTestView view{window};
    PaintWatch watch{view.preview()};
    int renders = 0;           // renderings of the window so far
    bool oneRenderEach = true; // every measured action rendered exactly once

    // Everything pending is rendered, handled and painted, so that a measurement starts from rest.
    void settle()
    {
        window.waitForRendering();
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    // The input event, then the event loop until the preview has painted (paints of a window
    // come together, so the loop's turn that paints the preview is measured to its end). The
    // loop sleeps while it has nothing to do, as the program's own does, and leaves the machine
    // to the rendering thread.
    double measure(const std::function<void()>& input)
    {
        settle();
        watch.painted = false;
        QElapsedTimer timer;
        timer.start();
        input();
        while (!watch.painted)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }

    void report(const char* name, double windowMs, double rendererMs)
    {
        const double ratio = windowMs / rendererMs;
        const bool met = ratio <= maxRatio && windowMs <= frameMs;
        std::printf("%-36s window %7.3f ms   renderer %7.3f ms   ratio %5.2f   (target <= %.1fx, <= %g ms)%s%s\n", name,
                    windowMs, rendererMs, ratio, maxRatio, frameMs, met ? "" : "  OVER",
                    oneRenderEach ? "" : "  NOT ONE RENDERING PER ACTION");
        oneRenderEach = true;
        std::fflush(stdout);
    }

    // Runs the input (measured) and its undo (not measured) in turns with the renderer's own
    // rendering of the state the input leads to, on surfaces of its own, so that both see the
    // same load of the machine. With changeText each rendering has another last character, as
    // each typed letter has. The first turn warms up.
    void compare(const char* name, int runs, const std::function<void()>& input, const std::function<void()>& undo,
                 bool changeText)
    {
        input();
        settle();
        TextImageSettings s = window.currentSettings();
        undo();
        CanvasSurface canvas;
        MeasuringLabel label;
        PictureHolder holder;
        const RenderSurfaces surfaces{canvas, label, holder};
        int n = 0;
        std::vector<double> windowTimes;
        std::vector<double> rendererTimes;
        for (int i = 0; i <= runs; ++i) {
            settle();
            const int rendersBefore = renders;
            const double windowMs = measure(input);
            oneRenderEach = oneRenderEach && renders == rendersBefore + 1;
            undo();
            settle();
            if (changeText && !s.Text.isEmpty())
                s.Text[s.Text.size() - 1] = QChar(u'A' + (n++ % 26)); // never a text the window typed
            QElapsedTimer timer;
            timer.start();
            RenderTextImage(s, surfaces);
            const double rendererMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            if (i > 0) {
                windowTimes.push_back(windowMs);
                rendererTimes.push_back(rendererMs);
            }
        }
        std::sort(windowTimes.begin(), windowTimes.end());
        std::sort(rendererTimes.begin(), rendererTimes.end());
        report(name, windowTimes[windowTimes.size() / 2], rendererTimes[rendererTimes.size() / 2]);
    }

    // One letter typed at the end of the text, taken away again unmeasured. Each run types
    // another letter, so that no run reuses the layout of an earlier one.
    void keystroke(const char* name, int runs)
    {
        view.textBox()->moveCursor(QTextCursor::End);
        int n = 0;
        compare(
            name, runs, [&] { QTest::keyClick(view.textBox(), static_cast<char>('a' + n++ % 26)); },
            [&] { QTest::keyClick(view.textBox(), Qt::Key_Backspace); }, true);
    }

    void setText(const QString& text)
    {
        view.textBox()->setPlainText(text);
        settle();
    }
};

// Renders as RenderTextImage does, after a second of its own; tells whether it runs.
struct SecondLongRenderer {
    std::shared_ptr<std::atomic<bool>> running = std::make_shared<std::atomic<bool>>(false);

    RenderFunction function() const
    {
        return [running = running](const TextImageSettings& settings, const RenderSurfaces& surfaces) {
            running->store(true);
            std::this_thread::sleep_for(std::chrono::seconds(1));
            RenderTextImage(settings, surfaces);
            running->store(false);
        };
    }
};

// Keys typed at the end of a long text while a rendering of a second runs: each from its event
// until the text box has painted it. A key whose rendering-to-be found none running waits
// for one to start first; a run during which the rendering ended is not counted.
void inputWhileRendering(int runs)
{
    const SecondLongRenderer renderer;
    SorvelMainDependencies dependencies = realDependencies();
    dependencies.renderer = renderer.function();
    dependencies.endProgram = [] {};
    SorvelMain window(std::move(dependencies));
    window.start();
    const SorvelMainTestView view(window);
    QPlainTextEdit* const textBox = view.textBox();
    textBox->setPlainText(bench::sampleText(100, 100, QStringLiteral("\n")));
    textBox->setFocus();
    textBox->moveCursor(QTextCursor::End);
    PaintWatch watch(textBox->viewport());
    std::vector<double> times;
    int n = 0;
    for (int i = 0; i <= runs; ++i) {
        while (!renderer.running->load()) {
            QApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        QApplication::processEvents();
        watch.painted = false;
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(textBox, static_cast<char>('a' + n++ % 26));
        while (!watch.painted)
            QApplication::processEvents();
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (i > 0 && renderer.running->load())
            times.push_back(ms);
    }
    window.close();
    if (times.empty()) {
        std::printf("%-36s no key landed while a rendering ran\n", "input while rendering");
        return;
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("%-36s window %7.3f ms   while a 1000 ms rendering runs (%zu keys)   (target <= %g ms)%s\n",
                "input while rendering", median, times.size(), frameMs, median <= frameMs ? "" : "  OVER");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // An argument sets the number of runs of every case (a profiler wants few).
    const int given = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    const auto runs = [given](int usual) { return given > 0 ? given : usual; };
    SorvelMain window(realDependencies());
    window.start();
    Bench bench{window};
    const SorvelMainTestView& view = bench.view;
    QObject::connect(&window, &SorvelMain::rendered, [&bench] { ++bench.renders; });
    bench.settle();

    bench.setText(bench::sampleText(1, 100, QStringLiteral("\n")));
    bench.keystroke("keystroke, 100 chars", runs(201));

    bench.setText(bench::sampleText(100, 100, QStringLiteral("\n")));
    bench.keystroke("keystroke, 10000 chars", runs(31));

    // A small picture tiled behind everything.
    QTemporaryDir dir;
    QImage tile(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            tile.setPixel(x, y, qRgb(200 + x, 220, 200 + y));
    const QString tilePath = dir.filePath(QStringLiteral("tile.bmp"));
    tile.save(tilePath, "BMP");
    view.setBackgroundPicture(tilePath);
    view.shadowBox()->setChecked(true);
    view.rainbowBox()->setChecked(true);
    view.frameBox()->setChecked(true);
    view.textBox()->setFocus();
    bench.keystroke("keystroke, 10000 chars, all effects", runs(31));

    // The frame box clicked on and off, shadow and rainbow on, no picture.
    view.setBackgroundPicture({});
    view.frameBox()->setChecked(false);
    window.renderPreview();
    bench.settle();
    const auto clickFrame = [&] {
        QTest::mouseClick(view.frameBox(), Qt::LeftButton, {}, QPoint(6, view.frameBox()->height() / 2));
    };
    bench.compare("frame toggle, 10000 chars, effects", runs(31), clickFrame, clickFrame, false);

    // A palette swatch clicked: blue text, then black again, plain text.
    view.shadowBox()->setChecked(false);
    view.rainbowBox()->setChecked(false);
    window.renderPreview();
    bench.settle();
    const auto clickSwatch = [&](int index) {
        return [&view, index] { QTest::mouseClick(view.swatch(index), Qt::LeftButton); };
    };
    bench.compare("palette click, 10000 chars", runs(31), clickSwatch(1), clickSwatch(0), false);

    inputWhileRendering(runs(31));
    return 0;
}
