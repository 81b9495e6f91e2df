// The layout of the real main window: captions, tooltips, fonts, pictures, geometry, focus
// order and the fixed window size.

#include "WindowFixture.h"

#include "app/Artwork.h"
#include "app/CanvasView.h"
#include "app/ColorSwatch.h"
#include "app/MouseUpButton.h"

#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

using namespace sorvel;
using namespace sorvel::test;

class WindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void captions();
    void toolTips_data();
    void toolTips();
    void swatchPanelShowsNoToolTip();
    void fixedSizeWithoutMaximise();
    void geometry();
    void controlsStayInsideTheirContainers();
    void textControlsUseTheDefaultFont();
    void sizeListEntries();
    void pictures();
    void tabOrder();
    void mouseUpReportsEveryButton();
};

void WindowLayoutTest::captions()
{
    WindowFixture fixture;
    SorvelMain& w = *fixture.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Sorvel ペイント"));
    QCOMPARE(w.Label4->text(), QStringLiteral("プレビュー"));
    QCOMPARE(w.Frame3->title(), QStringLiteral("文字"));
    QCOMPARE(w.Frame2->title(), QStringLiteral("フォント"));
    QCOMPARE(w.Frame1->title(), QStringLiteral("色　（右クリックで背景色）"));
    QCOMPARE(w.Label2->text(), QStringLiteral("サイズ"));
    QCOMPARE(w.Command4->text(), QStringLiteral("背景"));
    QCOMPARE(w.Command2->text(), QStringLiteral("その他"));
    QCOMPARE(w.Check2->text(), QStringLiteral("影を付ける"));
    QCOMPARE(w.Check3->text(), QStringLiteral("虹色"));
    QCOMPARE(w.Check4->text(), QStringLiteral("枠"));
    QVERIFY(w.Check1[0]->text().isEmpty());
    QVERIFY(w.Check1[1]->text().isEmpty());
    QCOMPARE(w.Check1[2]->text(), QStringLiteral("U"));
    QCOMPARE(w.Check1[3]->text(), QStringLiteral("S"));
    QVERIFY(w.Command1->text().isEmpty());
    QVERIFY(w.Command3->text().isEmpty());
    QCOMPARE(w.Label3.caption(), QStringLiteral("Label3"));
}

void WindowLayoutTest::toolTips_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("Combo1") << "Combo1" << QStringLiteral("フォント");
    QTest::newRow("Combo2") << "Combo2" << QStringLiteral("文字のサイズ");
    QTest::newRow("Check1(0)") << "Check1(0)" << QStringLiteral("太字");
    QTest::newRow("Check1(1)") << "Check1(1)" << QStringLiteral("斜体");
    QTest::newRow("Check1(2)") << "Check1(2)" << QStringLiteral("下線");
    QTest::newRow("Check1(3)") << "Check1(3)" << QStringLiteral("取り消し線");
    QTest::newRow("Frame1") << "Frame1" << QStringLiteral("色の変更、右クリックで背景色");
    QTest::newRow("Command4") << "Command4" << QStringLiteral("背景画像の選択");
    QTest::newRow("Command2") << "Command2" << QStringLiteral("その他の色");
    QTest::newRow("Check2") << "Check2" << QStringLiteral("影をつけます");
    QTest::newRow("Command1") << "Command1" << QStringLiteral("クリップボードにコピー");
    QTest::newRow("Command3") << "Command3" << QStringLiteral("ファイルへ保存");
    for (const char* name : {"Label4", "Picture4", "Picture1", "VScroll1", "HScroll1", "Frame3", "Text1", "Frame2",
                             "Label2", "Picture3", "Picture2(0)", "Picture2(15)", "Check3", "Check4"})
        QTest::newRow(name) << name << QString();
}

namespace {

QWidget* controlNamed(SorvelMain& w, const QString& name)
{
    const QHash<QString, QWidget*> controls = {
        {"Label4", w.Label4},       {"Picture4", w.Picture4},       {"Picture1", static_cast<QWidget*>(w.Picture1)},
        {"VScroll1", w.VScroll1},   {"HScroll1", w.HScroll1},       {"Frame3", w.Frame3},
        {"Text1", w.Text1},         {"Frame2", w.Frame2},           {"Combo1", w.Combo1},
        {"Label2", w.Label2},       {"Combo2", w.Combo2},           {"Check1(0)", w.Check1[0]},
        {"Check1(1)", w.Check1[1]}, {"Check1(2)", w.Check1[2]},     {"Check1(3)", w.Check1[3]},
        {"Frame1", w.Frame1},       {"Picture3", w.Picture3},       {"Picture2(0)", w.Picture2[0]},
        {"Picture2(15)", w.Picture2[15]}, {"Command4", w.Command4}, {"Command2", w.Command2},
        {"Check2", w.Check2},       {"Check3", w.Check3},           {"Check4", w.Check4},
        {"Command1", w.Command1},   {"Command3", w.Command3},
    };
    return controls.value(name);
}

} // namespace

void WindowLayoutTest::toolTips()
{
    QFETCH(QString, control);
    QFETCH(QString, toolTip);
    WindowFixture fixture;
    QWidget* widget = controlNamed(*fixture.window, control);
    QVERIFY(widget);
    QCOMPARE(widget->toolTip(), toolTip);
}

void WindowLayoutTest::swatchPanelShowsNoToolTip()
{
    WindowFixture fixture;
    fixture.started();
    SorvelMain& w = *fixture.window;

    for (QWidget* quiet : {static_cast<QWidget*>(w.Picture2[3]), w.Picture3}) {
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), quiet->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(quiet, &help);
        QVERIFY(!QToolTip::isVisible());
    }
    // The frame around the panel does show its own.
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), w.Frame1->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(w.Frame1, &help);
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("色の変更、右クリックで背景色"));
    QToolTip::hideText();
}

void WindowLayoutTest::fixedSizeWithoutMaximise()
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

void WindowLayoutTest::geometry()
{
    WindowFixture fixture;
    SorvelMain& w = *fixture.window;
    // The viewport's client area, inside its 2-pixel sunken border, decides the scroll bars.
    QCOMPARE(w.Picture4->geometry(), QRect(16, 24, 393, 81));
    QCOMPARE(w.Picture4->contentsRect(), QRect(2, 2, 389, 77));
    QCOMPARE(w.VScroll1->geometry(), QRect(408, 24, 17, 81));   // along the right edge
    QCOMPARE(w.HScroll1->geometry(), QRect(16, 104, 393, 17));  // along the bottom edge
    // Twips that are no whole pixels round to the nearest one: the swatch steps are uneven.
    const std::array<int, 8> lefts{0, 19, 39, 60, 80, 101, 122, 144};
    for (int i = 0; i < 16; ++i) {
        const QRect r = w.Picture2[static_cast<std::size_t>(i)]->geometry();
        QCOMPARE(r, QRect(lefts[static_cast<std::size_t>(i % 8)], i < 8 ? 0 : 24, 17, 17));
    }
    // Picture1 at its design size in the viewport's top-left corner until the first rendering.
    QCOMPARE(static_cast<QWidget*>(w.Picture1)->geometry(), QRect(0, 0, 337, 57));
}

void WindowLayoutTest::controlsStayInsideTheirContainers()
{
    WindowFixture fixture;
    fixture.started();
    const QStringList names{"Label4", "Picture4", "VScroll1", "HScroll1", "Frame3", "Text1", "Frame2", "Combo1",
                            "Label2", "Combo2", "Check1(0)", "Check1(1)", "Check1(2)", "Check1(3)", "Frame1",
                            "Picture3", "Picture2(0)", "Picture2(15)", "Command4", "Command2", "Check2", "Check3",
                            "Check4", "Command1", "Command3"};
    for (const QString& name : names) {
        QWidget* widget = controlNamed(*fixture.window, name);
        QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()), qPrintable(name));
    }
}

void WindowLayoutTest::textControlsUseTheDefaultFont()
{
    WindowFixture fixture;
    SorvelMain& w = *fixture.window;
    for (QWidget* widget : {static_cast<QWidget*>(w.Text1), static_cast<QWidget*>(w.Combo1), static_cast<QWidget*>(w.Combo2)}) {
        QCOMPARE(widget->font().family(), defaultFontName);
        QCOMPARE(fontPointSize(widget->font()), 14.25);
    }
    QCOMPARE(fontPointSize(w.canvas().font()), 14.25);
    QCOMPARE(w.Label3.font(), w.canvas().font());
    // The style toggles' captions show their style.
    QVERIFY(w.Check1[2]->font().underline());
    QVERIFY(w.Check1[3]->font().strikeOut());
}

void WindowLayoutTest::sizeListEntries()
{
    WindowFixture fixture;
    QComboBox* sizes = fixture.window->Combo2;
    QStringList entries;
    for (int i = 0; i < sizes->count(); ++i)
        entries << sizes->itemText(i);
    QCOMPARE(entries, QStringList({"9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"}));
    QCOMPARE(sizes->currentText(), QStringLiteral("14"));
    QVERIFY(sizes->isEditable());
    QVERIFY(!fixture.window->Combo1->isEditable());
    QCOMPARE(fixture.window->Combo1->count(), 0);
}

void WindowLayoutTest::pictures()
{
    for (const QPixmap& picture : {artwork::boldLetter(), artwork::italicLetter(), artwork::copySheets(), artwork::floppyDisk()}) {
        QCOMPARE(picture.size(), QSize(16, 16));
        const QImage image = picture.toImage();
        QSet<int> alphas;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                alphas << qAlpha(image.pixel(x, y));
                QVERIFY(qAlpha(image.pixel(x, y)) == 0 || (image.pixel(x, y) | 0xFF000000u) != artwork::maskColor);
            }
        }
        QCOMPARE(alphas, (QSet<int>{0, 255}));   // masked, never blended
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

void WindowLayoutTest::tabOrder()
{
    WindowFixture fixture;
    fixture.started();
    SorvelMain& w = *fixture.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.Text1);

    const QList<QWidget*> expected{w.Combo1,    w.Combo2,   w.Check1[0], w.Check1[1], w.Check1[2],
                                   w.Check1[3], w.Command4, w.Command2,  w.Check2,    w.Check3,
                                   w.Check4,    w.Command1, w.Command3,  w.Text1};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        QVERIFY2(focus == next || next->isAncestorOf(focus),
                 qPrintable(QStringLiteral("focus on ") + focus->metaObject()->className()));
    }
    QCOMPARE(fixture.renderCount(), 0);   // moving the focus renders nothing

    // A visible scroll bar takes its turn after the buttons.
    w.canvas().setWidth(1000);
    w.Command3->setFocus();
    QTest::keyClick(w.Command3, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.HScroll1);
    QTest::keyClick(w.HScroll1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.Text1);
}

void WindowLayoutTest::mouseUpReportsEveryButton()
{
    WindowFixture fixture;
    fixture.started();
    SorvelMain& w = *fixture.window;
    QList<Qt::MouseButton> swatchButtons;
    connect(w.Picture2[12], &ColorSwatch::mouseUp, [&](Qt::MouseButton button) { swatchButtons << button; });
    QList<Qt::MouseButton> buttonUps;
    int clicks = 0;
    connect(w.Command2, &MouseUpButton::mouseUp, [&](Qt::MouseButton button) { buttonUps << button; });
    connect(w.Command2, &QPushButton::clicked, [&] { ++clicks; });

    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(w.Picture2[12], button);
        QTest::mouseClick(w.Command2, button);
    }
    const QList<Qt::MouseButton> all{Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    QCOMPARE(swatchButtons, all);
    QCOMPARE(buttonUps, all);
    QCOMPARE(clicks, 1);   // only the left button clicks
    QCOMPARE(fixture.renderCount(), 3);   // each swatch renders; the colour dialog does not
}

QTEST_MAIN(WindowLayoutTest)
#include "tst_window_layout.moc"
