// The scroll rule on its own, and the real window's scroll bars and canvas position as the
// canvas grows and shrinks.

#include "WindowFixture.h"

#include "app/CanvasView.h"
#include "app/ScrollRanges.h"

#include <QtTest>

using namespace sorvel;
using namespace sorvel::test;

class PreviewScrollingTest : public QObject {
    Q_OBJECT
private slots:
    // Ranges beyond what the window's canvas (32767 pixels at most) can reach.
    void rule_data()
    {
        QTest::addColumn<int>("canvas");
        QTest::addColumn<int>("viewport");
        QTest::addColumn<int>("margin");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<int>("maximum");
        QTest::newRow("widest supported") << 32917 << 389 << 150 << true << 32767;
        QTest::newRow("wider clamps") << 32918 << 389 << 150 << true << 32767;
        QTest::newRow("far wider clamps") << 100000 << 389 << 150 << true << 32767;
        QTest::newRow("tallest supported") << 32797 << 77 << 30 << true << 32767;
        QTest::newRow("taller clamps") << 32798 << 77 << 30 << true << 32767;
        QTest::newRow("empty") << 0 << 77 << 30 << false << 0;
    }
    void rule()
    {
        QFETCH(int, canvas);
        QFETCH(int, viewport);
        QFETCH(int, margin);
        QFETCH(bool, visible);
        QFETCH(int, maximum);
        const ScrollRange range = scrollRange(canvas, viewport, margin);
        QCOMPARE(range.visible, visible);
        if (visible)
            QCOMPARE(range.maximum, maximum);
    }

    // The viewport's client area is 389 x 77: a bar shows only for a larger canvas, and its
    // range ends 150 columns (30 rows) before the canvas's far edge.
    void barsFollowTheCanvas_data()
    {
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<int>("hMaximum");   // -1: bar hidden
        QTest::addColumn<int>("vMaximum");
        QTest::newRow("equal size fits") << QSize(389, 77) << -1 << -1;
        QTest::newRow("one row more") << QSize(389, 78) << -1 << 48;
        QTest::newRow("one column more") << QSize(390, 77) << 240 << -1;
        QTest::newRow("1000 wide") << QSize(1000, 77) << 850 << -1;
        QTest::newRow("both") << QSize(1000, 300) << 850 << 270;
        QTest::newRow("canvas stops at 32767") << QSize(40000, 77) << 32767 - 150 << -1;
    }
    void barsFollowTheCanvas()
    {
        QFETCH(QSize, canvas);
        QFETCH(int, hMaximum);
        QFETCH(int, vMaximum);
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        w.canvas().setWidth(canvas.width());
        w.canvas().setHeight(canvas.height());
        const QSize size(w.canvas().scaleWidth(), w.canvas().scaleHeight());
        QCOMPARE(size, canvas.boundedTo(QSize(32767, 32767)));
        QWidget* view = w.Picture1;
        QCOMPARE(view->size(), size);
        for (const auto& [bar, maximum] : {std::pair{w.HScroll1, hMaximum}, std::pair{w.VScroll1, vMaximum}}) {
            QCOMPARE(bar->isHidden(), maximum < 0);
            if (maximum < 0)
                continue;
            QCOMPARE(bar->minimum(), 0);
            QCOMPARE(bar->maximum(), maximum);
            QCOMPARE(bar->singleStep(), 5);
            QCOMPARE(bar->pageStep(), 20);
            bar->setValue(maximum);
        }
        // Scrolled to the end, the last 150 columns and 30 rows show at the top-left.
        if (hMaximum >= 0)
            QCOMPARE(view->geometry().right() + 1, 150);
        if (vMaximum >= 0)
            QCOMPARE(view->geometry().bottom() + 1, 30);
        QCOMPARE(view->pos(), QPoint(-qMax(hMaximum, 0), -qMax(vMaximum, 0)));
        QCOMPARE(fixture.renderCount(), 0);
    }

    void shorterCanvasClampsThenFittingReturnsToTheEdge()
    {
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        QWidget* view = w.Picture1;
        w.canvas().setWidth(1000);
        w.canvas().setHeight(300);
        w.HScroll1->setValue(400);
        w.VScroll1->setValue(100);
        QCOMPARE(view->pos(), QPoint(-400, -100));

        w.canvas().setWidth(500);
        QCOMPARE(w.HScroll1->maximum(), 350);
        QCOMPARE(w.HScroll1->value(), 350);
        QCOMPARE(view->pos(), QPoint(-350, -100));
        // A value within the new range stays where it is.
        w.canvas().setHeight(400);
        QCOMPARE(w.VScroll1->value(), 100);
        QCOMPARE(view->pos(), QPoint(-350, -100));

        w.canvas().setWidth(200);
        w.canvas().setHeight(40);
        QVERIFY(w.HScroll1->isHidden());
        QVERIFY(w.VScroll1->isHidden());
        QCOMPARE(w.HScroll1->value(), 0);
        QCOMPARE(w.VScroll1->value(), 0);
        QCOMPARE(view->geometry(), QRect(0, 0, 200, 40));
    }

    void scrollingMovesTheCanvasAndNeverRenders()
    {
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        QWidget* view = w.Picture1;
        w.canvas().setWidth(1000);
        w.canvas().setHeight(300);

        w.HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(view->x(), -5);
        w.HScroll1->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(view->x(), -25);
        w.VScroll1->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(view->y(), -20);

        // Dragging the thumb: the canvas follows every step of the drag.
        w.HScroll1->setSliderDown(true);
        w.HScroll1->setSliderPosition(300);
        QCOMPARE(view->x(), -300);
        w.HScroll1->setSliderPosition(310);
        QCOMPARE(view->x(), -310);
        w.HScroll1->setSliderDown(false);
        QCOMPARE(w.HScroll1->value(), 310);

        // Keyboard on a focused bar.
        w.VScroll1->setFocus();
        QTest::keyClick(w.VScroll1, Qt::Key_Down);
        QCOMPARE(view->y(), -25);

        QCOMPARE(fixture.renderCount(), 0);
    }

    void longTextShowsTheBarWhileRendering()
    {
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        QWidget* view = w.Picture1;
        QTest::keyClicks(w.Text1, QString(80, QLatin1Char('W')));
        const int width = w.canvas().scaleWidth();
        QVERIFY(width > 389);
        QVERIFY(!w.HScroll1->isHidden());
        QCOMPARE(w.HScroll1->maximum(), width - 150);
        QCOMPARE(view->size(), QSize(width, w.canvas().scaleHeight()));
        QVERIFY(w.VScroll1->isHidden());

        // Scrolled right, then the text is deleted: the view follows back to the edge.
        w.HScroll1->setValue(w.HScroll1->maximum());
        w.Text1->selectAll();
        QTest::keyClick(w.Text1, Qt::Key_Delete);
        QVERIFY(w.HScroll1->isHidden());
        QCOMPARE(view->pos(), QPoint(0, 0));
    }
};

QTEST_MAIN(PreviewScrollingTest)
#include "tst_preview_scrolling.moc"
