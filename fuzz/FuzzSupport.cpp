#include "FuzzSupport.h"

#include "render/CanvasSurface.h"

#include <QGuiApplication>
#include <QHashFunctions>
#include <QImage>

#include <cstdio>
#include <cstdlib>

namespace sorvel::fuzzing {

void startOffscreenApplication()
{
    if (QGuiApplication::instance())
        return;
    // The targets run headless wherever they run.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "sorvel-fuzz";
    static char* argv[] = {name, nullptr};
    // Lives as long as the process: the fuzzer ends it without unwinding.
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    Q_UNUSED(application);
    // Decoders complain about every broken file; the fuzzer's own output is what matters.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
}

void require(bool condition, const char* expectation)
{
    if (condition)
        return;
    std::fprintf(stderr, "Expected: %s\n", expectation);
    std::abort();
}

void requireCanvasWithinLimits(const CanvasSurface& canvas)
{
    const int width = canvas.scaleWidth();
    const int height = canvas.scaleHeight();
    require(width >= 0 && width <= CanvasSurface::maxSide, "canvas width within 0..maxSide");
    require(height >= 0 && height <= CanvasSurface::maxSide, "canvas height within 0..maxSide");
    require(static_cast<long long>(width) * height <= CanvasSurface::maxArea, "canvas area within maxArea");
    const QImage& image = canvas.image();
    if (width == 0 || height == 0) {
        require(image.isNull(), "a canvas without area has no image");
        return;
    }
    require(!image.isNull(), "a canvas with area has an image");
    require(image.size() == QSize(width, height), "canvas image as large as the canvas");
    require(image.format() == QImage::Format_RGB32, "canvas image in RGB32");
}

std::size_t pixelHash(const QImage& image)
{
    if (image.isNull())
        return 0;
    const size_t pixels = qHashBits(image.constBits(), static_cast<size_t>(image.sizeInBytes()));
    return qHashMulti(0, pixels, image.width(), image.height());
}

} // namespace sorvel::fuzzing
