// The preview's scroll bars and canvas position as the canvas grows and shrinks: a bar shows
// only for a canvas larger than the 389 x 77 viewport, and its range ends 150 columns (30 rows)
// before the canvas's far edge. Scrolling never renders.
#include "support/WindowFixture.h"
#include "app/CanvasView.h"
#include "app/ScrollRanges.h"

using namespace sorvel;
using namespace sorvel::test;
using Style = SorvelMainTestView::Style;

class PreviewScrollingTest : public QObject {
    Q_OBJECT
private slots:
    void barsFollowTheCanvas_data()
    {
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<int>("hMaximum"); // -1: bar hidden
        QTest::addColumn<int>("vMaximum");
        QTest::newRow("equal size fits") << QSize(389, 77) << -1 << -1;
        QTest::newRow("one row more") << QSize(389, 78) << -1 << 48;
        QTest::newRow("one column more") << QSize(390, 77) << 240 << -1;
        QTest::newRow("both, canvas stops at 32767") << QSize(40000, 300) << 32767 - 150 << 270;
    }
    void barsFollowTheCanvas()
    {
        QFETCH(QSize, canvas);
        QFETCH(int, hMaximum);
        QFETCH(int, vMaximum);
        WindowFixture fixture;
        SorvelMain& w = *fixture.window;
        const SorvelMainTestView v(w);
        w.canvas().setWidth(canvas.width());
        w.canvas().setHeight(canvas.height());
        QCOMPARE(v.preview()->size(), canvas.boundedTo(QSize(32767, 32767)));
        for (const auto& [bar, maximum] :
             {std::pair{v.horizontalBar(), hMaximum}, std::pair{v.verticalBar(), vMaximum}}) {
            QCOMPARE(bar->isHidden(), maximum < 0);
            if (maximum >= 0) {
                QCOMPARE(bar->maximum(), maximum);
                bar->setSliderDown(true); // the canvas follows the thumb while it is dragged
                bar->setSliderPosition(maximum);
            }
        }
        QCOMPARE(v.preview()->pos(), QPoint(-qMax(hMaximum, 0), -qMax(vMaximum, 0)));
        // Scrolled to the end, a canvas that fits again hides the bars and returns to the edge.
        w.canvas().setWidth(389);
        w.canvas().setHeight(77);
        QVERIFY(v.horizontalBar()->isHidden() && v.verticalBar()->isHidden());
        QCOMPARE(v.preview()->pos(), QPoint(0, 0));
        QCOMPARE(fixture.renderCount(), 0);
    }

    // A rendering changes the canvas size several times; the bars end as if they had followed
    // each size in turn, margin 150 and a 389-pixel viewport here.
    void barFollowsEverySizeOfARendering_data()
    {
        QTest::addColumn<ScrollBarState>("start");
        QTest::addColumn<std::vector<int>>("extents");
        QTest::addColumn<ScrollBarState>("expected");
        QTest::newRow("no size change") << ScrollBarState{true, 850, 400} << std::vector<int>{}
                                        << ScrollBarState{true, 850, 400};
        QTest::newRow("fits: hidden at 0, range kept")
            << ScrollBarState{true, 850, 400} << std::vector<int>{300} << ScrollBarState{false, 850, 0};
        QTest::newRow("value within the new range stays")
            << ScrollBarState{true, 850, 100} << std::vector<int>{500, 1000} << ScrollBarState{true, 850, 100};
        QTest::newRow("value beyond the new end drops to it")
            << ScrollBarState{true, 850, 400} << std::vector<int>{500} << ScrollBarState{true, 350, 350};
        QTest::newRow("lowered on the way, stays lowered")
            << ScrollBarState{true, 850, 400} << std::vector<int>{500, 525} << ScrollBarState{true, 375, 350};
        QTest::newRow("fits on the way, back to 0")
            << ScrollBarState{true, 850, 400} << std::vector<int>{300, 1000} << ScrollBarState{true, 850, 0};
    }
    void barFollowsEverySizeOfARendering()
    {
        QFETCH(ScrollBarState, start);
        QFETCH(std::vector<int>, extents);
        QFETCH(ScrollBarState, expected);
        QCOMPARE(scrollBarAfter(start, extents, 389, horizontalEndMargin), expected);
    }

    // Italic widens the canvas after it took the measured width: scrolled to the end of a long
    // text, a shorter one lowers the value to the measured width's end, and the widening keeps it.
    void italicWideningKeepsTheLoweredValue()
    {
        WindowFixture fixture;
        SorvelMain& w = *fixture.window;
        const SorvelMainTestView v(w);
        v.styleButton(Style::Italic)->click();
        v.textBox()->setPlainText(QString(120, u'W'));
        v.horizontalBar()->setValue(v.horizontalBar()->maximum());
        const int scrolled = v.horizontalBar()->value();
        fixture.renders.clear();
        v.textBox()->setPlainText(QString(90, u'W'));
        const int measuredEnd = v.measuringLabel().width() - horizontalEndMargin;
        const int widenedEnd = w.canvas().scaleWidth() - horizontalEndMargin;
        QVERIFY(measuredEnd < scrolled && measuredEnd < widenedEnd);
        QCOMPARE(fixture.renderCount(), 1);
        QVERIFY(v.horizontalBar()->isVisible());
        QCOMPARE(v.horizontalBar()->maximum(), widenedEnd);
        QCOMPARE(v.horizontalBar()->value(), measuredEnd);
        QCOMPARE(v.preview()->geometry(), QRect(-measuredEnd, 0, w.canvas().scaleWidth(), w.canvas().scaleHeight()));
    }
};

QTEST_MAIN(PreviewScrollingTest)
#include "tst_preview_scrolling.moc"
