// The layout of the real main window: tooltips of the colour frame, the fixed window size,
// controls within their containers, the button pictures and the focus order.

#include "WindowFixture.h"

#include "app/Artwork.h"
#include "app/CanvasView.h"
#include "app/ColorSwatch.h"
#include "app/MouseUpButton.h"

#include <QGroupBox>
#include <QHelpEvent>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

using namespace sorvel;
using namespace sorvel::test;

class WindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void swatchPanelShowsNoToolTip()
    {
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        const auto askToolTip = [](QWidget* widget) {
            QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
            QCoreApplication::sendEvent(widget, &help);
        };
        for (QWidget* quiet : {static_cast<QWidget*>(w.Picture2[3]), w.Picture3}) {
            askToolTip(quiet);
            QVERIFY(!QToolTip::isVisible());
        }
        // The frame around the panel does show its own.
        askToolTip(w.Frame1);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("色の変更、右クリックで背景色"));
        QToolTip::hideText();
    }

    void fixedSizeWithoutMaximise()
    {
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        QCOMPARE(w.size(), QSize(433, 312));
        QCOMPARE(w.minimumSize(), QSize(433, 312));
        QCOMPARE(w.maximumSize(), QSize(433, 312));
        const Qt::WindowFlags flags = w.windowFlags();
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);

        w.resize(600, 500);
        QCOMPARE(w.size(), QSize(433, 312));
        w.showMaximized();
        QCOMPARE(w.size(), QSize(433, 312));
        w.showMinimized();
        QVERIFY(w.windowState() & Qt::WindowMinimized);
    }

    void controlsStayInsideTheirContainers()
    {
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        w.canvas().setWidth(1000);   // the bars shown too
        w.canvas().setHeight(300);
        int checked = 0;
        for (QWidget* widget : w.findChildren<QWidget*>()) {
            // The canvas may outgrow its viewport: that is what the scroll bars are for.
            if (widget->isWindow() || !widget->isVisibleTo(&w) || widget == w.Picture1)
                continue;
            ++checked;
            QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()),
                     qPrintable(widget->objectName() + u' ' + widget->metaObject()->className()));
        }
        QVERIFY(checked > 40);
    }

    void picturesAreMaskedNeverBlended()
    {
        for (const QPixmap& picture : {artwork::boldLetter(), artwork::italicLetter(), artwork::copySheets(),
                                       artwork::floppyDisk()}) {
            QCOMPARE(picture.size(), QSize(16, 16));
            const QImage image = picture.toImage();
            QSet<int> alphas;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    alphas << qAlpha(image.pixel(x, y));
                    QVERIFY(qAlpha(image.pixel(x, y)) == 0 || (image.pixel(x, y) | 0xFF000000u) != artwork::maskColor);
                }
            }
            QCOMPARE(alphas, (QSet<int>{0, 255}));
        }
        const QList<QSize> sizes = artwork::windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(32, 32)));
        QVERIFY(sizes.contains(QSize(16, 16)));

        QImage sample(2, 1, QImage::Format_RGB32);
        sample.setPixel(0, 0, artwork::maskColor);
        sample.setPixel(1, 0, qRgb(254, 0, 255));
        const QImage maskedSample = artwork::masked(sample);
        QCOMPARE(qAlpha(maskedSample.pixel(0, 0)), 0);
        QCOMPARE(maskedSample.pixel(1, 0), qRgb(254, 0, 255));
    }

    void tabOrder()
    {
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(QApplication::focusWidget(), w.Text1);

        // Tab leaves the text box rather than typing a tab.
        const QList<QWidget*> expected{w.Combo1,    w.Combo2,   w.Check1[0], w.Check1[1], w.Check1[2],
                                       w.Check1[3], w.Command4, w.Command2,  w.Check2,    w.Check3,
                                       w.Check4,    w.Command1, w.Command3,  w.Text1};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            QVERIFY2(focus == next || next->isAncestorOf(focus),
                     qPrintable(QStringLiteral("focus on ") + focus->metaObject()->className()));
        }
        QVERIFY(w.Text1->toPlainText().isEmpty());
        QCOMPARE(fixture.renderCount(), 0);   // moving the focus renders nothing

        // A visible scroll bar takes its turn after the buttons.
        w.canvas().setWidth(1000);
        w.Command3->setFocus();
        QTest::keyClick(w.Command3, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.HScroll1);
        QTest::keyClick(w.HScroll1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.Text1);
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "tst_window_layout.moc"
