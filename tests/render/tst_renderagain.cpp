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
    const QImage& render(const TextImageSettings& s)
    {
        RenderTextImage(s, {canvas, label, holder});
        return canvas.image();
    }
};

// As tall as a canvas may be at the default size, and a few pixels wide.
QString tallColumn() { return QStringLiteral("|") + QStringLiteral("\r\n").repeated(2000); }
// Wider than the area limit leaves beside a canvas of the tall column's height.
QString wideLine() { return QString(400, QLatin1Char('W')); }

} // namespace

class TestRenderAgain : public QObject {
    Q_OBJECT
private slots:
    void pictureIgnoresWhatCameBefore_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("shadow");
        QTest::newRow("tall, then wide") << tallColumn() << wideLine() << false << false;
        QTest::newRow("tall, then wide italic with shadow") << tallColumn() << wideLine() << true << true;
        QTest::newRow("wide, then tall") << wideLine() << tallColumn() << false << true;
        QTest::newRow("wide and tall, then short") << wideLine() + tallColumn() << QStringLiteral("Ag") << true << false;
    }
    void pictureIgnoresWhatCameBefore()
    {
        QFETCH(QString, before);
        QFETCH(QString, text);
        QFETCH(bool, italic);
        QFETCH(bool, shadow);
        TextImageSettings s;
        s.FontItalic = italic;
        s.Shadow = shadow;
        s.Text = text;
        Surfaces fresh;
        const QImage expected = fresh.render(s);

        Surfaces used;
        TextImageSettings previous = s;
        previous.Text = before;
        used.render(previous);
        const QImage actual = used.render(s);
        QCOMPARE(actual.size(), expected.size());
        QVERIFY(actual == expected);
    }

    void wideLineAfterTallTextKeepsItsWidth()
    {
        TextImageSettings s;
        s.Text = wideLine();
        MeasuringLabel label;
        label.setFont(canvasFontOf(s));
        label.setCaption(s.Text);
        QVERIFY(label.width() > CanvasSurface::maxArea / CanvasSurface::maxSide);

        Surfaces used;
        TextImageSettings tall = s;
        tall.Text = tallColumn();
        used.render(tall);
        QCOMPARE(used.canvas.scaleHeight(), CanvasSurface::maxSide);
        used.render(s);
        QCOMPARE(used.canvas.scaleWidth(), label.width());
        QCOMPARE(used.canvas.scaleHeight(), label.height());
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
        QCOMPARE(QSize(canvas.scaleWidth(), canvas.scaleHeight()), before);
        int told = 0;
        canvas.setResizeListener([&] { ++told; });
        canvas.setSize(width, height);
        QCOMPARE(QSize(canvas.scaleWidth(), canvas.scaleHeight()), expected);
        QCOMPARE(told, 1);
        QCOMPARE(canvas.image().isNull(), expected.isEmpty());
        if (!expected.isEmpty())
            QCOMPARE(canvas.image().size(), expected);
        canvas.setSize(width, height);
        QCOMPARE(told, 1);
    }
};

QTEST_MAIN(TestRenderAgain)
#include "tst_renderagain.moc"
