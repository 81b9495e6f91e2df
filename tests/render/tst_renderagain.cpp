// Rendering again on used surfaces, as on every keystroke: the picture depends on the settings alone.
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "render/RenderTextImage.h"

#include <QtTest>

using namespace sorvel;

class TestRenderAgain : public QObject {
    Q_OBJECT
private slots:
    // A wide line after a tall text was once cut at the width the old height's area limit left.
    void pictureIgnoresWhatCameBefore()
    {
        // As tall as a canvas may be, and a line wider than the area leaves beside that height.
        const QString tall = u"|"_qs + u"\r\n"_qs.repeated(2000), wide = QString(400, u'W');
        const std::tuple<QString, QString, bool> cases[] = {// before, text, italic with shadow
                                                            {tall, wide, false},
                                                            {tall, wide, true},
                                                            {wide + tall, u"Ag"_qs, true}};
        for (const auto& [before, text, styled] : cases) {
            TextImageSettings s;
            s.FontItalic = s.Shadow = styled;
            s.Text = text;
            CanvasSurface fresh, used;
            MeasuringLabel label;
            PictureHolder holder;
            RenderTextImage(s, {fresh, label, holder});
            QVERIFY(text != wide || fresh.scaleWidth() > CanvasSurface::maxArea / CanvasSurface::maxSide);
            s.Text = before;
            RenderTextImage(s, {used, label, holder});
            QVERIFY(text != wide || used.scaleHeight() == CanvasSurface::maxSide);
            s.Text = text;
            RenderTextImage(s, {used, label, holder});
            QCOMPARE(used.image(), fresh.image());
        }
    }

    // Width within its limit, then height within the area left, halves to even; told once only.
    void sizeSetsBothSidesAtOnce()
    {
        const std::tuple<QSize, QSizeF, QSize> cases[] = {// before, asked, got
                                                          {{10, 32767}, {5000, 19}, {5000, 19}},
                                                          {{32767, 10}, {10, 40000}, {10, 32767}},
                                                          {{10, 10}, {32767, 32767}, {32767, 4096}},
                                                          {{10, 10}, {20.5, 11.5}, {20, 12}},
                                                          {{10, 10}, {-5, 7}, {0, 7}}};
        for (const auto& [before, asked, expected] : cases) {
            CanvasSurface canvas;
            canvas.setSize(before.width(), before.height());
            int told = 0;
            canvas.setResizeListener([&] { ++told; });
            canvas.setSize(asked.width(), asked.height());
            canvas.setSize(asked.width(), asked.height());
            QCOMPARE(QSize(canvas.scaleWidth(), canvas.scaleHeight()), expected);
            QCOMPARE(canvas.image().size(), expected.isEmpty() ? QSize(0, 0) : expected);
            QCOMPARE(told, 1);
        }
    }

    // A resize keeps every pixel already on the canvas and shows BackColor in the new area,
    // also when BackColor changed after the canvas was cleared or nothing was drawn yet.
    void resizeKeepsThePixels()
    {
        const QRgb white = 0xFFFFFFFF, red = 0xFFFF0000, blue = 0xFF0000FF;
        for (const bool drawn : {false, true}) {
            CanvasSurface canvas;
            canvas.setBackColor(0xFFFFFF);
            canvas.clear();
            canvas.setSize(10, 10);
            if (drawn)
                canvas.outlineRect(0, 0, 9, 9, 0x0000FF); // red
            canvas.setWidth(20);
            canvas.setBackColor(0xFF0000); // blue
            canvas.setHeight(20);
            const QImage& image = canvas.image(); // the old pixels, the new column, the new rows
            const QList<QRgb> corners{image.pixel(0, 0), image.pixel(5, 5), image.pixel(19, 5), image.pixel(0, 19),
                                      image.pixel(19, 19)};
            QCOMPARE(corners, (QList<QRgb>{drawn ? red : white, white, white, blue, blue}));
        }
    }

    // Clearing a drawn canvas and giving it the same size again erases every pixel, in the
    // new BackColor; an image taken from the canvas before keeps what it showed.
    void clearAtTheSameSizeErasesAll()
    {
        const QRgb red = 0xFFFF0000;
        for (const ColorValue back : {ColorValue(0xFFFFFF), ColorValue(0xFF0000)}) {
            CanvasSurface canvas;
            canvas.setBackColor(0xFFFFFF);
            canvas.clear();
            canvas.setSize(10, 10);
            canvas.outlineRect(0, 0, 9, 9, 0x0000FF); // red
            const QImage before = canvas.image();
            canvas.setBackColor(back);
            canvas.clear();
            canvas.setSize(10, 10);
            const QImage& after = canvas.image();
            const QRgb expected = toQColor(back).rgb();
            QCOMPARE(after.size(), QSize(10, 10));
            QCOMPARE((QList<QRgb>{after.pixel(0, 0), after.pixel(5, 5), after.pixel(9, 9)}),
                     (QList<QRgb>{expected, expected, expected}));
            QCOMPARE(before.pixel(0, 0), red);
        }
    }
};

QTEST_MAIN(TestRenderAgain)
#include "tst_renderagain.moc"
