// The scroll rule on its own, and the real window's scroll bars and canvas position as the
// canvas grows and shrinks.

#include "WindowFixture.h"

#include "app/CanvasView.h"
#include "app/ScrollRanges.h"

#include <QtTest>

using namespace sorvel;
using namespace sorvel::test;

namespace {

QWidget* canvasWidget(SorvelMain& window)
{
    return window.Picture1;
}

} // namespace

class PreviewScrollingTest : public QObject {
    Q_OBJECT
private slots:
    void rule_data();
    void rule();
    void heightBoundary();
    void widthRange();
    void shorterCanvasClampsTheValue();
    void fittingCanvasReturnsToTheEdge();
    void widestCanvas();
    void scrollingMovesTheCanvasAndNeverRenders();
    void longTextShowsTheBarWhileRendering();
};

void PreviewScrollingTest::rule_data()
{
    QTest::addColumn<int>("canvas");
    QTest::addColumn<int>("viewport");
    QTest::addColumn<int>("margin");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("maximum");
    QTest::newRow("smaller") << 100 << 389 << 150 << false << 0;
    QTest::newRow("equal fits") << 389 << 389 << 150 << false << 0;
    QTest::newRow("one more") << 390 << 389 << 150 << true << 240;
    QTest::newRow("1000 wide") << 1000 << 389 << 150 << true << 850;
    QTest::newRow("equal height fits") << 77 << 77 << 30 << false << 0;
    QTest::newRow("one row more") << 78 << 77 << 30 << true << 48;
    QTest::newRow("widest supported") << 32917 << 389 << 150 << true << 32767;
    QTest::newRow("wider clamps") << 32918 << 389 << 150 << true << 32767;
    QTest::newRow("far wider clamps") << 100000 << 389 << 150 << true << 32767;
    QTest::newRow("tallest supported") << 32797 << 77 << 30 << true << 32767;
    QTest::newRow("taller clamps") << 32798 << 77 << 30 << true << 32767;
    QTest::newRow("empty") << 0 << 77 << 30 << false << 0;
}

void PreviewScrollingTest::rule()
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
    QCOMPARE(horizontalScrollRange(1000, 389), (ScrollRange{true, 850}));
    QCOMPARE(verticalScrollRange(1000, 77), (ScrollRange{true, 970}));
}

void PreviewScrollingTest::heightBoundary()
{
    WindowFixture fixture;
    fixture.started();
    SorvelMain& w = *fixture.window;
    w.canvas().setHeight(77);   // Picture4's client height
    QVERIFY(w.VScroll1->isHidden());
    w.canvas().setHeight(78);
    QVERIFY(!w.VScroll1->isHidden());
    QCOMPARE(w.VScroll1->maximum(), 48);
    QCOMPARE(w.VScroll1->minimum(), 0);
    QCOMPARE(w.VScroll1->singleStep(), 5);
    QCOMPARE(w.VScroll1->pageStep(), 20);
    QVERIFY(w.HScroll1->isHidden());   // the directions are independent
    QCOMPARE(canvasWidget(w)->size(), QSize(w.canvas().scaleWidth(), 78));
}

void PreviewScrollingTest::widthRange()
{
    WindowFixture fixture;
    fixture.started();
    SorvelMain& w = *fixture.window;
    w.canvas().setWidth(389);
    QVERIFY(w.HScroll1->isHidden());
    w.canvas().setWidth(1000);
    QVERIFY(!w.HScroll1->isHidden());
    QCOMPARE(w.HScroll1->maximum(), 850);
    QCOMPARE(w.HScroll1->singleStep(), 5);
    QCOMPARE(w.HScroll1->pageStep(), 20);
    w.HScroll1->setValue(850);
    QCOMPARE(canvasWidget(w)->pos(), QPoint(-850, 0));
    // The last 150 columns show at the viewport's left edge.
    QCOMPARE(canvasWidget(w)->geometry().right() + 1, 150);
}

void PreviewScrollingTest::shorterCanvasClampsTheValue()
{
    WindowFixture fixture;
    fixture.started();
    SorvelMain& w = *fixture.window;
    w.canvas().setWidth(1000);
    w.canvas().setHeight(300);
    w.HScroll1->setValue(400);
    w.VScroll1->setValue(100);
    QCOMPARE(canvasWidget(w)->pos(), QPoint(-400, -100));

    w.canvas().setWidth(500);
    QCOMPARE(w.HScroll1->maximum(), 350);
    QCOMPARE(w.HScroll1->value(), 350);
    QCOMPARE(canvasWidget(w)->pos(), QPoint(-350, -100));

    // A value within the new range stays where it is.
    w.canvas().setHeight(400);
    QCOMPARE(w.VScroll1->value(), 100);
    QCOMPARE(canvasWidget(w)->pos(), QPoint(-350, -100));
}

void PreviewScrollingTest::fittingCanvasReturnsToTheEdge()
{
    WindowFixture fixture;
    fixture.started();
    SorvelMain& w = *fixture.window;
    w.canvas().setWidth(1000);
    w.canvas().setHeight(300);
    w.HScroll1->setValue(600);
    w.VScroll1->setValue(200);
    w.canvas().setWidth(200);
    w.canvas().setHeight(40);
    QVERIFY(w.HScroll1->isHidden());
    QVERIFY(w.VScroll1->isHidden());
    QCOMPARE(w.HScroll1->value(), 0);
    QCOMPARE(w.VScroll1->value(), 0);
    QCOMPARE(canvasWidget(w)->geometry(), QRect(0, 0, 200, 40));
}

void PreviewScrollingTest::widestCanvas()
{
    WindowFixture fixture;
    fixture.started();
    SorvelMain& w = *fixture.window;
    w.canvas().setWidth(40000);   // the canvas stops at 32767 pixels
    QCOMPARE(w.canvas().scaleWidth(), 32767);
    QCOMPARE(w.HScroll1->maximum(), 32767 - 150);
    w.HScroll1->setValue(w.HScroll1->maximum());
    QCOMPARE(canvasWidget(w)->x(), -(32767 - 150));
}

void PreviewScrollingTest::scrollingMovesTheCanvasAndNeverRenders()
{
    WindowFixture fixture;
    fixture.started();
    SorvelMain& w = *fixture.window;
    w.canvas().setWidth(1000);
    w.canvas().setHeight(300);

    w.HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(canvasWidget(w)->x(), -5);
    w.HScroll1->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(canvasWidget(w)->x(), -25);
    w.VScroll1->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(canvasWidget(w)->y(), -20);

    // Dragging the thumb: the canvas follows every step of the drag.
    w.HScroll1->setSliderDown(true);
    w.HScroll1->setSliderPosition(300);
    QCOMPARE(canvasWidget(w)->x(), -300);
    w.HScroll1->setSliderPosition(310);
    QCOMPARE(canvasWidget(w)->x(), -310);
    w.HScroll1->setSliderDown(false);
    QCOMPARE(w.HScroll1->value(), 310);

    // Keyboard on a focused bar.
    w.VScroll1->setFocus();
    QTest::keyClick(w.VScroll1, Qt::Key_Down);
    QCOMPARE(canvasWidget(w)->y(), -25);

    QCOMPARE(fixture.renderCount(), 0);
}

void PreviewScrollingTest::longTextShowsTheBarWhileRendering()
{
    WindowFixture fixture;
    fixture.started();
    SorvelMain& w = *fixture.window;
    QTest::keyClicks(w.Text1, QString(80, QLatin1Char('W')));
    const int width = w.canvas().scaleWidth();
    QVERIFY(width > 389);
    QVERIFY(!w.HScroll1->isHidden());
    QCOMPARE(w.HScroll1->maximum(), width - 150);
    QCOMPARE(canvasWidget(w)->size(), QSize(width, w.canvas().scaleHeight()));
    QVERIFY(w.VScroll1->isHidden());

    // Scrolled right, then the text is deleted: the view follows back to the edge.
    w.HScroll1->setValue(w.HScroll1->maximum());
    w.Text1->selectAll();
    QTest::keyClick(w.Text1, Qt::Key_Delete);
    QVERIFY(w.HScroll1->isHidden());
    QCOMPARE(canvasWidget(w)->pos(), QPoint(0, 0));
}

QTEST_MAIN(PreviewScrollingTest)
#include "tst_preview_scrolling.moc"
