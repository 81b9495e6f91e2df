// Rendering again on surfaces that showed another text, as the window does on every keystroke:
// the picture depends on the settings alone.
#include "platform/CanvasSurface.h"
#include "platform/MeasuringLabel.h"
#include "platform/PictureHolder.h"
#include "render/RenderTextImage.h"

#include <QtTest>

using namespace sorvel;

namespace {

struct Surfaces {
    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    QImage render(const TextImageSettings& s)
    {
        RenderTextImage(s, {canvas, label, holder});
        return canvas.image();
    }
};

// As tall as a canvas may be at the default size, and a few pixels wide; and a line wider
// than the area limit leaves beside a canvas of that height.
const QString tall = u"|"_qs + u"\r\n"_qs.repeated(2000);
const QString wide = QString(400, u'W');

} // namespace

class TestRenderAgain : public QObject {
    Q_OBJECT
private slots:
    // A wide line after a tall text was once cut at the width the old height's area limit left.
    void pictureIgnoresWhatCameBefore_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("styled");   // italic with shadow
        QTest::newRow("tall, then wide") << tall << wide << false;
        QTest::newRow("tall, then wide italic with shadow") << tall << wide << true;
        QTest::newRow("wide and tall, then short") << wide + tall << u"Ag"_qs << true;
    }
    void pictureIgnoresWhatCameBefore()
    {
        QFETCH(QString, before);
        QFETCH(QString, text);
        QFETCH(bool, styled);
        TextImageSettings s;
        s.FontItalic = s.Shadow = styled;
        s.Text = text;
        Surfaces fresh, used;
        const QImage expected = fresh.render(s);
        QVERIFY(text != wide || expected.width() > CanvasSurface::maxArea / CanvasSurface::maxSide);
        s.Text = before;
        used.render(s);
        QVERIFY(text != wide || used.canvas.scaleHeight() == CanvasSurface::maxSide);
        s.Text = text;
        QCOMPARE(used.render(s), expected);
    }

    void sizeSetsBothSidesAtOnce_data()
    {
        QTest::addColumn<QSize>("before");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("wide after tall") << QSize(10, 32767) << 5000.0 << 19.0 << QSize(5000, 19);
        QTest::newRow("tall after wide") << QSize(32767, 10) << 10.0 << 40000.0 << QSize(10, 32767);
        QTest::newRow("area: width first") << QSize(10, 10) << 32767.0 << 32767.0 << QSize(32767, 4096);
        QTest::newRow("sides") << QSize(10, 10) << 1e9 << 3.0 << QSize(32767, 3);
        QTest::newRow("halves to even") << QSize(10, 10) << 20.5 << 11.5 << QSize(20, 12);
        QTest::newRow("negative is empty") << QSize(10, 10) << -5.0 << 7.0 << QSize(0, 7);
    }
    void sizeSetsBothSidesAtOnce()
    {
        QFETCH(QSize, before);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(QSize, expected);
        CanvasSurface canvas;
        canvas.setSize(before.width(), before.height());
        int told = 0;
        canvas.setResizeListener([&] { ++told; });
        canvas.setSize(width, height);
        QCOMPARE(QSize(canvas.scaleWidth(), canvas.scaleHeight()), expected);
        QCOMPARE(canvas.image().size(), expected.isEmpty() ? QSize(0, 0) : expected);
        canvas.setSize(width, height);
        QCOMPARE(told, 1);   // once, and not again for the same size
    }
};

QTEST_MAIN(TestRenderAgain)
#include "tst_renderagain.moc"
