// The renderer's pipeline with stand-in effects: the order it asks them, how their sides size
// the canvas, and that a failing step leaves the others; then the program's own effects where a
// step fails.
#include "platform/Failure.h"
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "render/RenderTextImage.h"
#include "render/RenderTestSurfaces.h"
#include "render/effects/Effect.h"
#include "render/effects/RenderContext.h"

#include <QtTest>

#include <new>

using namespace sorvel;
using namespace sorvel::testing;

namespace {

constexpr QRgb white = 0xFFFFFFFF, shadowGrey = 0xFFC0C0C0;

// Writes every question the pipeline asks it into a shared log, as "name:hook", and fails in
// one hook when told to.
class RecordingEffect final : public Effect {
public:
    RecordingEffect(QString name, QStringList& log) : m_name(std::move(name)), m_log(log) { }

    bool on = true;
    CanvasGrowth growth;
    QPointF originShift;
    std::optional<QSize> ownTextSize;
    bool printsText = false;
    QString failingHook;
    bool failWithBadAlloc = false;

    bool isOn(const TextImageSettings&) const noexcept override { return on; }
    std::optional<QSize> measureText(const RenderContext&) const override
    {
        record(u"measure"_qs);
        return ownTextSize;
    }
    void drawBackground(RenderContext&) const override { record(u"background"_qs); }
    CanvasGrowth canvasGrowth(const TextImageSettings&) const noexcept override
    {
        record(u"growth"_qs);
        return growth;
    }
    void drawOnResizedCanvas(RenderContext&) const override { record(u"resized"_qs); }
    void drawBeneathText(RenderContext& context) const override
    {
        const bool textColor = context.canvas.foreColor() == context.settings.ForeColor;
        context.canvas.setForeColor(0x123456);
        record(textColor ? u"beneath"_qs : u"beneath in a changed colour"_qs);
    }
    QPointF textOrigin(const RenderContext&, QPointF origin) const noexcept override
    {
        record(u"origin"_qs);
        return origin + originShift;
    }
    bool drawText(RenderContext& context) const override
    {
        record(QStringLiteral("text at %1,%2").arg(context.canvas.currentX()).arg(context.canvas.currentY()));
        return printsText;
    }

private:
    void record(const QString& hook) const
    {
        m_log.append(m_name + u':' + hook);
        if (!failingHook.isEmpty() && hook.startsWith(failingHook)) {
            if (failWithBadAlloc)
                throw std::bad_alloc();
            fail(FailureKind::BadArgument);
        }
    }

    QString m_name;
    QStringList& m_log;
};

// The box around the pixels that are (or, with ink, are not) of the colour.
QRect boxOf(const QImage& image, QRgb color, bool ink = false)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) == color) != ink)
                box |= QRect(x, y, 1, 1);
    return box;
}

QRect inkBox(const QImage& image)
{
    return boxOf(image, white, true);
}

} // namespace

class TestEffectPipeline : public QObject {
    Q_OBJECT
private slots:
    // Backgrounds at the measured size; each effect's sides, then every effect drawing on the
    // resized canvas; the origin; beneath the text; the first effect that prints the text.
    void asksEffectsInOrder()
    {
        QStringList log;
        RecordingEffect a(u"a"_qs, log), b(u"b"_qs, log), off(u"off"_qs, log);
        a.growth.width = CanvasSide{1.5};
        a.originShift = {2, 3};
        b.growth.height = CanvasSide{2.0};
        b.ownTextSize = QSize(51, 30);
        b.printsText = true;
        off.on = false;
        TextImageSettings s = plain(u"Text"_qs);
        s.Margins = {10, 0, 0, 20};
        Surfaces out;
        const QImage image = out.render(s, {&a, &off, &b});
        QCOMPARE(log, (QStringList{u"a:measure"_qs, u"b:measure"_qs, u"a:background"_qs, u"b:background"_qs,
                                   u"a:growth"_qs, u"a:resized"_qs, u"b:resized"_qs, u"b:growth"_qs, u"a:resized"_qs,
                                   u"b:resized"_qs, u"a:origin"_qs, u"b:origin"_qs, u"a:beneath"_qs, u"b:beneath"_qs,
                                   u"a:text at 22,13"_qs, u"b:text at 22,13"_qs}));
        // Each side: the side b measured times scale plus the margins (76.5 is 76); every side
        // set is one resize.
        QCOMPARE(image.size(), QSize(76 + 20, 2 * 30 + 10));
        QCOMPARE(out.resizes, 3);
        // The effect printed the text instead of the plain print, which it left out.
        QCOMPARE(inkBox(image), QRect());
        QCOMPARE(out.canvas.foreColor(), s.ForeColor);
    }

    void failingStepLeavesTheOthers_data()
    {
        QTest::addColumn<QString>("hook");
        QTest::addColumn<bool>("badAlloc");
        QTest::addColumn<QStringList>("laterCalls");
        QTest::addColumn<bool>("plainText");
        const QStringList all{u"b:measure"_qs, u"b:background"_qs, u"b:resized"_qs,    u"b:growth"_qs,
                              u"b:origin"_qs,  u"b:beneath"_qs,    u"b:text at 0,0"_qs};
        QTest::newRow("measure") << u"measure"_qs << true << all << true;
        QTest::newRow("background") << u"background"_qs << false << all << true;
        QTest::newRow("resized canvas") << u"resized"_qs << true << all << true;
        QTest::newRow("beneath the text") << u"beneath"_qs << false << all << true;
        // Printing is one step: an effect failing to print leaves the text out altogether.
        QTest::newRow("text") << u"text"_qs << true << all.mid(0, 6) << false;
    }
    void failingStepLeavesTheOthers()
    {
        QFETCH(QString, hook);
        QFETCH(bool, badAlloc);
        QFETCH(QStringList, laterCalls);
        QFETCH(bool, plainText);
        QStringList log;
        RecordingEffect a(u"a"_qs, log), b(u"b"_qs, log);
        a.growth.height = CanvasSide{1.0, 4.0};
        a.failingHook = hook;
        a.failWithBadAlloc = badAlloc;
        const TextImageSettings s = plain(u"Text"_qs);
        Surfaces out;
        const QImage image = out.render(s, {&a, &b});
        QCOMPARE(log.filter(u"b:"_qs), laterCalls);
        QCOMPARE(out.canvas.foreColor(), s.ForeColor);
        QCOMPARE(!inkBox(image).isEmpty(), plainText);
    }

    // The program's own effects where a step fails: the rest of the picture is drawn as usual.
    void failingStepsOfTheProgramsEffects()
    {
        // A size the font system refuses keeps the previous picture's font.
        TextImageSettings large = plain(u"Font"_qs);
        large.FontSize = 40;
        Surfaces used, fresh;
        used.render(large);
        TextImageSettings refused = large;
        refused.FontSize = 0;
        QCOMPARE(used.render(refused), fresh.render(large));

        // Nothing to tile, on the measured canvas or on the widened one: frame and text as
        // without a picture.
        QTemporaryDir dir;
        TextImageSettings framed = plain(u"Frame"_qs);
        framed.Framed = framed.FontItalic = framed.Shadow = true;
        framed.Margins = {3, 3, 3, 3};
        Surfaces without, missing;
        without.render(framed);
        framed.backgroundPicture = dir.filePath(u"missing.bmp"_qs);
        QCOMPARE(missing.render(framed), without.canvas.image());

        // A size box text that is no 16-bit number leaves the shadow in the top-left corner,
        // not at the margins; "400" puts it 32 pixels beyond them.
        TextImageSettings shadowed = plain(u"Shadow"_qs);
        shadowed.Shadow = true;
        shadowed.ForeColor = 0x0000FF; // red: no edge of the text is the shadow's grey
        shadowed.Margins = {40, 60, 60, 40};
        shadowed.SizeText = u"400"_qs;
        Surfaces offset, corner;
        const QRect beyondMargins = boxOf(offset.render(shadowed), shadowGrey);
        shadowed.SizeText = u"abc"_qs;
        const QRect inCorner = boxOf(corner.render(shadowed), shadowGrey);
        QVERIFY(!inCorner.isEmpty());
        QCOMPARE(inCorner.translated(72, 72), beyondMargins);
    }
};

QTEST_MAIN(TestEffectPipeline)
#include "tst_effectpipeline.moc"
