// A vertical request from the command line through the renderer: the options reach the layout,
// the picture is the columns plus the margins, and the rainbow follows the reading order.
#include "command/CommandLine.h"
#include "command/RenderJob.h"
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "render/RenderTextImage.h"
#include "text/FontSystem.h"

#include <QFontMetrics>
#include <QtTest>

using namespace sorvel;
using namespace sorvel::render_command;

namespace {

TextImageSettings settingsOf(QStringList arguments, const QString& text)
{
    arguments.prepend(QStringLiteral("sorvel-render"));
    arguments << QStringLiteral("-o") << QStringLiteral("a.png") << QStringLiteral("--") << text;
    return settingsFor(parseCommandLine(arguments).request, text);
}

QImage pictureOf(const TextImageSettings& settings)
{
    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    RenderTextImage(settings, {canvas, label, holder});
    return canvas.image().copy(0, 0, canvas.scaleWidth(), canvas.scaleHeight());
}

// The mean hue of the coloured pixels in columns [left, right) of picture; -1 when none.
double hueIn(const QImage& picture, int left, int right)
{
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = left; x < right; ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.hsvSaturation() > 100 && c.hsvHue() >= 0) {
                sum += c.hsvHue();
                ++count;
            }
        }
    }
    return count ? sum / count : -1;
}

} // namespace

class TestVerticalRequest : public QObject {
    Q_OBJECT
private slots:
    void optionsReachTheLayout()
    {
        const TextImageSettings s = settingsOf(
            {"--vertical", "--height", "120", "--upright-digits", "3", "--latin", "upright", "--align", "bottom"}, "x");
        QVERIFY(s.Layout.vertical);
        QCOMPARE(s.Layout.height, 120);
        QCOMPARE(s.Layout.uprightDigits, 3);
        QVERIFY(s.Layout.latinUpright);
        QCOMPARE(s.Layout.align, LineAlignment::Right);
        const TextImageSettings plain = settingsOf({}, "x");
        QCOMPARE(plain.Layout, TextLayoutOptions{});
    }

    void pictureIsColumnsAndMargins()
    {
        const int pitch = QFontMetrics(makeFont(defaultFontName, designFontPoints)).height();
        const QImage two = pictureOf(settingsOf({"--vertical", "--margin", "10 6"}, u"あいう\r\nえお"_qs));
        QCOMPARE(two.width(), 2 * pitch + 12);
        const QImage wrapped =
            pictureOf(settingsOf({"--vertical", "--height", "40", "--margin", "10 6"}, u"あいうえおかき"_qs));
        QCOMPARE(wrapped.height(), 40 + 20);
        QVERIFY(wrapped.width() >= 3 * pitch + 12);
        // The same text and options as one row of lines would give another picture.
        QVERIFY(pictureOf(settingsOf({}, u"あいう\r\nえお"_qs)).size() != two.size());
    }

    void rainbowFollowsTheColumns()
    {
        const QImage picture = pictureOf(settingsOf({"--vertical", "--rainbow", "--shadow", "--frame"},
                                                    u"あいうえお\r\nかきくけこ\r\nさしすせそ"_qs));
        const int third = picture.width() / 3;
        const double first = hueIn(picture, 2 * third, picture.width());
        const double last = hueIn(picture, 0, third);
        QVERIFY(first >= 0 && last >= 0);
        // The hue grows through the text: the first (rightmost) column starts it.
        QVERIFY2(first < last, qPrintable(QStringLiteral("%1 %2").arg(first).arg(last)));
    }
};

QTEST_MAIN(TestVerticalRequest)
#include "tst_vertical_request.moc"
