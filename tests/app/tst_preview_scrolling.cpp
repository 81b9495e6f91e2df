// The preview's scroll bars and canvas position as the canvas grows and shrinks: a bar shows
// only for a canvas larger than the 389 x 77 viewport, and its range ends 150 columns (30 rows)
// before the canvas's far edge. Scrolling never renders.
#include "support/WindowFixture.h"
#include "app/CanvasView.h"

using namespace sorvel;
using namespace sorvel::test;

class PreviewScrollingTest : public QObject {
    Q_OBJECT
private slots:
    void barsFollowTheCanvas_data()
    {
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<int>("hMaximum");   // -1: bar hidden
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
        w.canvas().setWidth(canvas.width());
        w.canvas().setHeight(canvas.height());
        QCOMPARE(w.Picture1->size(), canvas.boundedTo(QSize(32767, 32767)));
        for (const auto& [bar, maximum] : {std::pair{w.HScroll1, hMaximum}, std::pair{w.VScroll1, vMaximum}}) {
            QCOMPARE(bar->isHidden(), maximum < 0);
            if (maximum >= 0) {
                QCOMPARE(bar->maximum(), maximum);
                bar->setSliderDown(true);   // the canvas follows the thumb while it is dragged
                bar->setSliderPosition(maximum);
            }
        }
        QCOMPARE(w.Picture1->pos(), QPoint(-qMax(hMaximum, 0), -qMax(vMaximum, 0)));
        // Scrolled to the end, a canvas that fits again hides the bars and returns to the edge.
        w.canvas().setWidth(389);
        w.canvas().setHeight(77);
        QVERIFY(w.HScroll1->isHidden() && w.VScroll1->isHidden());
        QCOMPARE(w.Picture1->pos(), QPoint(0, 0));
        QCOMPARE(fixture.renderCount(), 0);
    }
};

QTEST_MAIN(PreviewScrollingTest)
#include "tst_preview_scrolling.moc"
