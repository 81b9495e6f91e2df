// The window for users of screen readers and keyboards: every control carries a Japanese
// accessible name, Tab walks the controls in their fixed order, and Space works the focused
// button or check box exactly as a click does.
#include "support/WindowFixture.h"
#include "app/CanvasView.h"
#include "app/ColorSwatch.h"
#include "app/ReleaseReportingButton.h"

#include <QAccessible>

#include <functional>

using namespace sorvel;
using namespace sorvel::test;
using Style = SorvelMainTestView::Style;

using ControlOf = std::function<QWidget*(const SorvelMainTestView&)>;
Q_DECLARE_METATYPE(ControlOf)

namespace {

QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QStringLiteral("(no interface)");
}

// Shows the window, makes it active and gives the focus to control.
bool focusInActiveWindow(WindowFixture& fixture, QWidget* control)
{
    fixture.window->activateWindow();
    if (!QTest::qWaitForWindowActive(fixture.window.get()))
        return false;
    control->setFocus(Qt::OtherFocusReason);
    return QApplication::focusWidget() == control;
}

// A Space key pressed and released on whatever holds the focus.
void pressSpaceOnFocus()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
}

} // namespace

class KeyboardAndAccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void accessibleNames_data()
    {
        QTest::addColumn<ControlOf>("control");
        QTest::addColumn<QString>("name");
        const auto row = [](const char* what, const char* name, ControlOf control) {
            QTest::newRow(what) << control << QString::fromUtf8(name);
        };
        row("preview", "プレビュー", [](const SorvelMainTestView& v) { return v.preview(); });
        row("text box", "文字", [](const SorvelMainTestView& v) { return v.textBox(); });
        row("bold", "太字", [](const SorvelMainTestView& v) { return v.styleButton(Style::Bold); });
        row("italic", "斜体", [](const SorvelMainTestView& v) { return v.styleButton(Style::Italic); });
        row("underline", "下線", [](const SorvelMainTestView& v) { return v.styleButton(Style::Underline); });
        row("strikethrough", "取り消し線",
            [](const SorvelMainTestView& v) { return v.styleButton(Style::Strikethrough); });
        row("background picture", "背景画像の選択", [](const SorvelMainTestView& v) { return v.backgroundButton(); });
        row("other colour", "その他", [](const SorvelMainTestView& v) { return v.otherColorButton(); });
        row("shadow", "影を付ける", [](const SorvelMainTestView& v) { return v.shadowBox(); });
        row("rainbow", "虹色", [](const SorvelMainTestView& v) { return v.rainbowBox(); });
        row("frame", "枠", [](const SorvelMainTestView& v) { return v.frameBox(); });
        row("copy", "クリップボードにコピー", [](const SorvelMainTestView& v) { return v.copyButton(); });
        row("save", "ファイルへ保存", [](const SorvelMainTestView& v) { return v.saveButton(); });
        row("first swatch", "色 1", [](const SorvelMainTestView& v) { return v.swatch(0); });
        row("last of the upper row", "色 8", [](const SorvelMainTestView& v) { return v.swatch(7); });
        row("first of the lower row", "色 9", [](const SorvelMainTestView& v) { return v.swatch(8); });
        row("last swatch", "色 16", [](const SorvelMainTestView& v) { return v.swatch(15); });
    }
    void accessibleNames()
    {
        QFETCH(ControlOf, control);
        QFETCH(QString, name);
        WindowFixture fixture;
        QCOMPARE(accessibleName(control(fixture.view())), name);
    }

    // On Linux Qt announces a combo box by its value and names it by the labels related to it:
    // the font frame's caption for both boxes, and the size label for the size box. The
    // description is the tooltip.
    void comboBoxesAreLabelled()
    {
        WindowFixture fixture;
        const SorvelMainTestView v = fixture.view();
        const auto labels = [](QWidget* box) {
            QStringList names;
            const auto relations = QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label);
            for (const auto& [label, relation] : relations)
                names << label->text(QAccessible::Name);
            names.sort();
            return names;
        };
        const auto description = [](QWidget* box) {
            return QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description);
        };
        QCOMPARE(labels(v.fontList()), QStringList({"フォント"}));
        QCOMPARE(labels(v.sizeBox()), QStringList({"サイズ", "フォント"}));
        QCOMPARE(description(v.fontList()), QStringLiteral("フォント"));
        QCOMPARE(description(v.sizeBox()), QStringLiteral("文字のサイズ"));
    }

    // From the text box, Tab reaches every control once in the window's order and comes back;
    // the scroll bars take part while they show, and the palette at one swatch.
    void tabWalksTheControlsInOrder()
    {
        WindowFixture fixture;
        const SorvelMainTestView v = fixture.view();
        fixture.window->canvas().setWidth(2000); // both scroll bars show
        fixture.window->canvas().setHeight(400);
        QVERIFY(focusInActiveWindow(fixture, v.textBox()));
        const QList<QWidget*> order{v.fontList(),
                                    v.sizeBox(),
                                    v.styleButton(Style::Bold),
                                    v.styleButton(Style::Italic),
                                    v.styleButton(Style::Underline),
                                    v.styleButton(Style::Strikethrough),
                                    v.swatch(0), // the palette's one stop
                                    v.backgroundButton(),
                                    v.otherColorButton(),
                                    v.shadowBox(),
                                    v.rainbowBox(),
                                    v.frameBox(),
                                    v.copyButton(),
                                    v.saveButton(),
                                    v.horizontalBar(),
                                    v.verticalBar(),
                                    v.textBox()};
        QStringList expected;
        QStringList reached;
        for (QWidget* control : order) {
            expected << accessibleName(control);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            // The size box's edit field stands in for the box.
            if (focus && focus == v.sizeBox()->lineEdit())
                focus = v.sizeBox();
            reached << (focus ? accessibleName(focus) : QStringLiteral("(nothing)"));
            if (focus != control && reached.last() == expected.last())
                reached.last() += QStringLiteral(" (another widget of that name)");
        }
        QCOMPARE(reached, expected);
        QCOMPARE(fixture.renderCount(), 0);
    }

    // Space on a focused check box or style button toggles it and renders once, with the
    // effect or style on.
    void spaceTogglesTheFocusedControl_data()
    {
        QTest::addColumn<ControlOf>("control");
        QTest::addColumn<int>("setting"); // index into the seven flags below
        QTest::newRow("bold") << ControlOf([](const SorvelMainTestView& v) { return v.styleButton(Style::Bold); }) << 0;
        QTest::newRow("italic") << ControlOf([](const SorvelMainTestView& v) { return v.styleButton(Style::Italic); })
                                << 1;
        QTest::newRow("underline") << ControlOf([](const SorvelMainTestView& v) {
            return v.styleButton(Style::Underline);
        }) << 2;
        QTest::newRow("strikethrough") << ControlOf([](const SorvelMainTestView& v) {
            return v.styleButton(Style::Strikethrough);
        }) << 3;
        QTest::newRow("shadow") << ControlOf([](const SorvelMainTestView& v) { return v.shadowBox(); }) << 4;
        QTest::newRow("rainbow") << ControlOf([](const SorvelMainTestView& v) { return v.rainbowBox(); }) << 5;
        QTest::newRow("frame") << ControlOf([](const SorvelMainTestView& v) { return v.frameBox(); }) << 6;
    }
    void spaceTogglesTheFocusedControl()
    {
        QFETCH(ControlOf, control);
        QFETCH(int, setting);
        WindowFixture fixture;
        auto* button = qobject_cast<QAbstractButton*>(control(fixture.view()));
        QVERIFY(button && focusInActiveWindow(fixture, button));
        const QImage before = fixture.window->canvas().image();
        pressSpaceOnFocus();
        QVERIFY(button->isChecked());
        QCOMPARE(fixture.renderCount(), 1);
        const TextImageSettings& s = fixture.lastRender();
        const std::array<bool, 7> flags{s.FontBold, s.FontItalic, s.FontUnderline, s.FontStrikethrough,
                                        s.Shadow,   s.Rainbow,    s.Framed};
        for (int i = 0; i < static_cast<int>(flags.size()); ++i)
            QCOMPARE(flags.at(static_cast<std::size_t>(i)), i == setting);
        pressSpaceOnFocus();
        QVERIFY(!button->isChecked());
        QCOMPARE(fixture.renderCount(), 2);
        QCOMPARE(fixture.window->canvas().image(), before);
    }

    // Space on the focused push buttons does what their click does: copy, save (which copies
    // first), choose a background picture, choose a text colour.
    void spacePressesTheFocusedButton()
    {
        WindowFixture fixture;
        const SorvelMainTestView v = fixture.view();
        QVERIFY(focusInActiveWindow(fixture, v.copyButton()));
        pressSpaceOnFocus();
        QCOMPARE(fixture.clipboard->calls, QStringList({"clear", "setImage"}));
        QCOMPARE(fixture.renderCount(), 1);

        QVERIFY(focusInActiveWindow(fixture, v.saveButton()));
        pressSpaceOnFocus();
        QCOMPARE(fixture.dialogs->saveFileDialog.calls(), 1);

        QVERIFY(focusInActiveWindow(fixture, v.backgroundButton()));
        pressSpaceOnFocus();
        QCOMPARE(fixture.dialogs->openFileDialog.calls(), 1);

        QVERIFY(focusInActiveWindow(fixture, v.otherColorButton()));
        fixture.dialogs->colorDialog.queue(FakeDialogService::chosenColor(rgbColor(255, 0, 0)));
        pressSpaceOnFocus();
        QCOMPARE(fixture.dialogs->colorDialog.calls(), 1);
        QCOMPARE(fixture.window->canvas().foreColor(), rgbColor(255, 0, 0));
        QCOMPARE(fixture.window->canvas().backColor(), fixture.renders.front().BackColor);
    }
};

QTEST_MAIN(KeyboardAndAccessibilityTest)
#include "tst_keyboard_and_accessibility.moc"
