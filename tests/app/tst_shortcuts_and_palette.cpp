// The window's shortcuts and the palette by keyboard: each shortcut does exactly what its button
// does, the copy key in the text box copies the selected text or, with nothing selected, the
// picture, and the palette is one Tab stop whose swatches the arrow keys walk and Space, Enter
// (text colour) or Shift with either (background colour) choose.
#include "support/WindowFixture.h"
#include "app/ColorSwatch.h"
#include "app/PaletteKeys.h"
#include "app/WindowLayout.h"
#include "render/PaletteColor.h"

#include <QClipboard>
#include <QToolTip>

#include <functional>

using namespace sorvel;
using namespace sorvel::test;
using Style = SorvelMainTestView::Style;

using Action = std::function<void(WindowFixture&)>;
Q_DECLARE_METATYPE(Action)

namespace {

bool activate(WindowFixture& fixture, QWidget* focus)
{
    fixture.window->activateWindow();
    if (!QTest::qWaitForWindowActive(fixture.window.get()))
        return false;
    focus->setFocus(Qt::OtherFocusReason);
    return QApplication::focusWidget() == focus;
}

// Everything a button of the window can change, in words.
QStringList observed(const WindowFixture& fixture)
{
    const SorvelMainTestView v = fixture.view();
    QStringList state;
    state << QStringLiteral("clipboard: ") + fixture.clipboard->calls.join(u',');
    state << QStringLiteral("clipboard image is the canvas: %1")
                 .arg(fixture.clipboard->holdsImage && fixture.clipboard->image == fixture.window->canvas().image());
    state << QStringLiteral("save dialogs: %1").arg(fixture.dialogs->saveFileDialog.calls());
    state << QStringLiteral("dialogs: %1").arg(fixture.dialogs->totalCalls());
    state << QStringLiteral("events: ") + fixture.events.join(u',');
    for (const Style style : {Style::Bold, Style::Italic, Style::Underline, Style::Strikethrough})
        state << QStringLiteral("style checked: %1").arg(v.styleButton(style)->isChecked());
    for (const TextImageSettings& s : fixture.renders)
        state << QStringLiteral("rendered: bold %1 italic %2 underline %3 strike %4")
                     .arg(s.FontBold)
                     .arg(s.FontItalic)
                     .arg(s.FontUnderline)
                     .arg(s.FontStrikethrough);
    return state;
}

Action click(std::function<QAbstractButton*(const SorvelMainTestView&)> button)
{
    return [button](WindowFixture& fixture) { QTest::mouseClick(button(fixture.view()), Qt::LeftButton); };
}

} // namespace

class ShortcutsAndPaletteTest : public QObject {
    Q_OBJECT
private slots:
    // The shortcut, pressed while the text box has the focus, leaves the window as a click on
    // its button does; the close keys close the window as its close button does.
    void shortcutDoesWhatItsButtonDoes_data()
    {
        QTest::addColumn<int>("combined"); // the keys as QKeyCombination::toCombined() gives them
        QTest::addColumn<Action>("button");
        QTest::newRow("Ctrl+S saves") << (Qt::CTRL | Qt::Key_S).toCombined()
                                      << click([](const SorvelMainTestView& v) { return v.saveButton(); });
        QTest::newRow("Ctrl+Shift+C copies") << (Qt::CTRL | Qt::SHIFT | Qt::Key_C).toCombined()
                                             << click([](const SorvelMainTestView& v) { return v.copyButton(); });
        QTest::newRow("Ctrl+B bold") << (Qt::CTRL | Qt::Key_B).toCombined()
                                     << click([](const SorvelMainTestView& v) { return v.styleButton(Style::Bold); });
        QTest::newRow("Ctrl+I italic") << (Qt::CTRL | Qt::Key_I).toCombined() << click([](const SorvelMainTestView& v) {
            return v.styleButton(Style::Italic);
        });
        QTest::newRow("Ctrl+U underline")
            << (Qt::CTRL | Qt::Key_U).toCombined()
            << click([](const SorvelMainTestView& v) { return v.styleButton(Style::Underline); });
        const Action closeWindow = [](WindowFixture& fixture) { fixture.window->close(); };
        QTest::newRow("Ctrl+Q closes") << (Qt::CTRL | Qt::Key_Q).toCombined() << closeWindow;
        QTest::newRow("Ctrl+W closes") << (Qt::CTRL | Qt::Key_W).toCombined() << closeWindow;
    }
    void shortcutDoesWhatItsButtonDoes()
    {
        QFETCH(int, combined);
        const QKeyCombination keys = QKeyCombination::fromCombined(combined);
        QFETCH(Action, button);
        WindowFixture byKeys;
        QTest::keyClicks(byKeys.view().textBox(), QStringLiteral("Keys"));
        const QStringList untouched = observed(byKeys);
        QVERIFY(activate(byKeys, byKeys.view().textBox()));
        QTest::keyClick(byKeys.view().textBox(), keys.key(), keys.keyboardModifiers());

        WindowFixture byButton;
        QTest::keyClicks(byButton.view().textBox(), QStringLiteral("Keys"));
        button(byButton);

        QVERIFY(observed(byKeys) != untouched);
        QCOMPARE(observed(byKeys), observed(byButton));
        QCOMPARE(byKeys.view().textBox()->toPlainText(), QStringLiteral("Keys"));
    }

    // The style shortcuts work from any control, the size box's edit field included.
    void styleShortcutFromTheSizeBox()
    {
        WindowFixture fixture;
        activate(fixture, fixture.view().sizeBox());
        QCOMPARE(QApplication::focusWidget(), fixture.view().sizeBox()); // its edit field types
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::ControlModifier);
        QVERIFY(fixture.view().styleButton(Style::Bold)->isChecked());
        QCOMPARE(fixture.renderedList(&TextImageSettings::FontBold), QList<bool>{true});
        QCOMPARE(fixture.sizeEdit()->text(), QStringLiteral("14"));
    }

    // Ctrl+C in the text box copies selected text as always and leaves the picture alone; with
    // nothing selected it copies the picture, as the copy button does.
    void copyKeyInTheTextBox()
    {
        WindowFixture fixture;
        QPlainTextEdit* box = fixture.view().textBox();
        QTest::keyClicks(box, QStringLiteral("Copy me"));
        QVERIFY(activate(fixture, box));
        QGuiApplication::clipboard()->clear();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Copy me"));
        QVERIFY(fixture.clipboard->calls.isEmpty());

        QTextCursor cursor = box->textCursor();
        cursor.clearSelection();
        box->setTextCursor(cursor);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(fixture.clipboard->calls, QStringList({"clear", "setImage"}));
        QCOMPARE(fixture.clipboard->image, fixture.window->canvas().image());
        QCOMPARE(box->toPlainText(), QStringLiteral("Copy me"));
    }

    // Tab from the last style button reaches the palette at one swatch; the arrows walk the two
    // rows; Space and Enter give the text colour, Shift with either the background colour, each
    // rendering once; Tab leaves for the background button, and Shift+Tab comes back to the
    // swatch last walked to.
    void paletteByKeyboard()
    {
        WindowFixture fixture;
        const SorvelMainTestView v = fixture.view();
        QVERIFY(activate(fixture, v.styleButton(Style::Strikethrough)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), v.swatch(0));
        for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down})
            QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(QApplication::focusWidget(), v.swatch(11));
        QCOMPARE(fixture.renderCount(), 0);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space, Qt::ShiftModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(fixture.renderedList(&TextImageSettings::ForeColor),
                 (QList<ColorValue>{PaletteColor(11), PaletteColor(11), PaletteColor(11), PaletteColor(2)}));
        QCOMPARE(fixture.renderedList(&TextImageSettings::BackColor).mid(1),
                 (QList<ColorValue>{PaletteColor(10), PaletteColor(2), PaletteColor(2)}));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), v.backgroundButton());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), v.swatch(2));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), v.styleButton(Style::Strikethrough));
    }

    // Arrows stop at the palette's edges and cross from the end of one row to the start of the
    // next; Home and End reach its first and last swatch.
    void swatchAfterKey_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("next");
        QTest::newRow("left at the first") << 0 << int(Qt::Key_Left) << 0;
        QTest::newRow("up from the upper row") << 5 << int(Qt::Key_Up) << 5;
        QTest::newRow("down from the lower row") << 13 << int(Qt::Key_Down) << 13;
        QTest::newRow("right at the last") << 15 << int(Qt::Key_Right) << 15;
        QTest::newRow("right across the rows") << 7 << int(Qt::Key_Right) << 8;
        QTest::newRow("left across the rows") << 8 << int(Qt::Key_Left) << 7;
        QTest::newRow("down") << 5 << int(Qt::Key_Down) << 13;
        QTest::newRow("home") << 12 << int(Qt::Key_Home) << 0;
        QTest::newRow("end") << 3 << int(Qt::Key_End) << 15;
        QTest::newRow("another key") << 3 << int(Qt::Key_A) << 3;
    }
    void swatchAfterKey()
    {
        QFETCH(int, index);
        QFETCH(int, key);
        QFETCH(int, next);
        QCOMPARE(sorvel::swatchAfterKey(index, key), next);
    }

    // Keys with Ctrl or Alt choose no colour: they belong to the shortcuts.
    void keysThatChooseNoColour()
    {
        QCOMPARE(swatchKeyTarget(Qt::Key_Space, Qt::ControlModifier), std::nullopt);
        QCOMPARE(swatchKeyTarget(Qt::Key_Return, Qt::AltModifier), std::nullopt);
        QCOMPARE(swatchKeyTarget(Qt::Key_Return, Qt::ShiftModifier | Qt::ControlModifier), std::nullopt);
        QCOMPARE(swatchKeyTarget(Qt::Key_A, Qt::NoModifier), std::nullopt);
        QCOMPARE(swatchKeyTarget(Qt::Key_Enter, Qt::KeypadModifier | Qt::ShiftModifier), ColorTarget::Background);
    }

    // Each swatch's tooltip names its colour, a different one for each, and what the two
    // mouse buttons do; hovering shows it, although the panel around the swatches shows none.
    void swatchTooltips()
    {
        WindowFixture fixture;
        QSet<QString> names;
        for (int i = 0; i < swatchCount; ++i) {
            const QString tip = fixture.view().swatch(i)->toolTip();
            const QString name = tip.section(u'\n', 0, 0);
            QVERIFY2(!name.isEmpty() && !names.contains(name), qPrintable(tip));
            names.insert(name);
            QVERIFY(tip.contains(QStringLiteral("左クリック：文字の色")));
            QVERIFY(tip.contains(QStringLiteral("右クリック：背景色")));
        }
        QCOMPARE(fixture.view().swatch(0)->toolTip().section(u'\n', 0, 0), QStringLiteral("黒"));
        QCOMPARE(fixture.view().swatch(12)->toolTip().section(u'\n', 0, 0), QStringLiteral("赤"));
        QCOMPARE(fixture.view().swatch(15)->toolTip().section(u'\n', 0, 0), QStringLiteral("白"));

        ColorSwatch* swatch = fixture.view().swatch(9);
        QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), swatch->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(swatch, &hover);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), swatch->toolTip());
        QToolTip::hideText();
    }
};

QTEST_MAIN(ShortcutsAndPaletteTest)
#include "tst_shortcuts_and_palette.moc"
