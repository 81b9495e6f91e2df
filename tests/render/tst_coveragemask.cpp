// Coverage masks: growing by a disc against the largest value over the disc worked out pixel by
// pixel, soft blurs that spread exactly their reach, and moving a mask.
#include "render/CoverageMask.h"

#include <QtTest>

#include <random>

using namespace sorvel;

namespace {

CoverageMask randomMask(int w, int h, unsigned seed, int density)
{
    CoverageMask mask(w, h);
    std::mt19937 random(seed);
    for (std::uint8_t& p : mask.pixels)
        p = static_cast<int>(random() % 100) < density ? static_cast<std::uint8_t>(random() % 256) : 0;
    return mask;
}

// The largest value within the disc around every pixel, pixel by pixel.
CoverageMask dilatedByHand(const CoverageMask& mask, int r)
{
    CoverageMask out(mask.width, mask.height);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            int best = 0;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    const int sx = x + dx;
                    const int sy = y + dy;
                    if (dx * dx + dy * dy <= r * r + r && sx >= 0 && sy >= 0 && sx < mask.width && sy < mask.height)
                        best = std::max(best, int(mask.at(sx, sy)));
                }
            out.row(y)[x] = static_cast<std::uint8_t>(best);
        }
    return out;
}

QRect coveredBox(const CoverageMask& mask)
{
    QRect box;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            if (mask.at(x, y) != 0)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestCoverageMask : public QObject {
    Q_OBJECT
private slots:
    void discIsRound()
    {
        // Radius 1: the 3 x 3 square; radius 2 leaves out the corners; radius 5 is symmetric.
        QCOMPARE(discHalfHeight(1, 0), 1);
        QCOMPARE(discHalfHeight(1, 1), 1);
        QCOMPARE(discHalfHeight(2, 2), 1);
        QCOMPARE(discHalfHeight(2, 3), -1);
        for (int k = 0; k <= 5; ++k)
            QCOMPARE(discHalfHeight(5, discHalfHeight(5, k)) >= k, true);
    }

    void dilationIsTheLargestValueOverTheDisc_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("radius");
        QTest::addColumn<int>("density");
        QTest::newRow("radius 1") << 23 << 17 << 1 << 10;
        QTest::newRow("radius 2, dense") << 31 << 29 << 2 << 60;
        QTest::newRow("radius 4, sparse") << 40 << 33 << 4 << 3;
        QTest::newRow("radius 7, taller than wide") << 9 << 50 << 7 << 5;
        QTest::newRow("radius beyond the mask") << 6 << 5 << 12 << 10;
        QTest::newRow("one row") << 50 << 1 << 3 << 10;
    }
    void dilationIsTheLargestValueOverTheDisc()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, radius);
        QFETCH(int, density);
        const CoverageMask mask = randomMask(width, height, static_cast<unsigned>(width * 31 + radius), density);
        CoverageMask grown = mask;
        dilateByDisc(grown, radius);
        QCOMPARE(grown.pixels, dilatedByHand(mask, radius).pixels);
    }

    void zeroRadiusOrEmptyMaskChangesNothing()
    {
        const CoverageMask mask = randomMask(10, 10, 7, 20);
        CoverageMask same = mask;
        dilateByDisc(same, 0);
        blurSoftly(same, 0);
        QCOMPARE(same.pixels, mask.pixels);
        CoverageMask empty;
        dilateByDisc(empty, 3);
        blurSoftly(empty, 3);
        QVERIFY(empty.pixels.empty());
    }

    // A blurred square spreads its reach on every side, keeps its middle and its total
    // coverage (within rounding), and falls off evenly.
    void blurSpreadsItsReach_data()
    {
        QTest::addColumn<int>("reach");
        QTest::newRow("1") << 1;
        QTest::newRow("2") << 2;
        QTest::newRow("8") << 8;
        QTest::newRow("13") << 13;
    }
    void blurSpreadsItsReach()
    {
        QFETCH(int, reach);
        CoverageMask mask(100, 90);
        long long before = 0;
        for (int y = 30; y < 60; ++y)
            for (int x = 35; x < 65; ++x) {
                mask.row(y)[x] = 255;
                before += 255;
            }
        blurSoftly(mask, reach);
        // The farthest pixel gets a share that may round to nothing.
        const QRect square(QPoint(35, 30), QPoint(64, 59));
        const QRect covered = coveredBox(mask);
        QVERIFY(square.adjusted(-reach, -reach, reach, reach).contains(covered));
        QVERIFY(covered.contains(square.adjusted(1 - reach, 1 - reach, reach - 1, reach - 1)));
        QCOMPARE(int(mask.at(50, 45)), 255);
        long long after = 0;
        for (std::uint8_t p : mask.pixels)
            after += p;
        QVERIFY2(std::llabs(after - before) < before / 50, qPrintable(QStringLiteral("%1 %2").arg(after).arg(before)));
        for (int x = 35 - reach; x < 50; ++x)
            QVERIFY(mask.at(x, 45) <= mask.at(x + 1, 45));
    }

    void shiftMovesAndCuts()
    {
        CoverageMask mask(5, 4);
        mask.row(0)[0] = 10;
        mask.row(3)[4] = 20;
        mask.row(1)[2] = 30;
        const CoverageMask moved = shiftedMask(mask, QPoint(2, 1));
        QCOMPARE(int(moved.at(2, 1)), 10);
        QCOMPARE(int(moved.at(4, 2)), 30);
        QCOMPARE(coveredBox(moved), QRect(QPoint(2, 1), QPoint(4, 2)));
        const CoverageMask back = shiftedMask(mask, QPoint(-4, -3));
        QCOMPARE(int(back.at(0, 0)), 20);
        QCOMPARE(coveredBox(back), QRect(0, 0, 1, 1));
        QCOMPARE(coveredBox(shiftedMask(mask, QPoint(9, 0))), QRect());
    }
};

QTEST_GUILESS_MAIN(TestCoverageMask)
#include "tst_coveragemask.moc"
