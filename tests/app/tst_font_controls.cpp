// The text box, font list, size box, style toggles and effect boxes of the real window, driven
// with simulated keys and clicks: each user action renders exactly once, with the right settings.

#include "WindowFixture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>

using namespace sorvel;
using namespace sorvel::test;

class FontControlsTest : public QObject {
    Q_OBJECT
private slots:
    void typingAndDeletingRenderOncePerChange();
    void enterGivesCrLf();
    void pastedLineBreaksStayOneBreak();
    void japaneseInputMethodCommitRendersOnce();
    void tabLeavesTheTextBox();
    void sizeKeystrokesRenderEachSize();
    void pickingAListSizeRendersOnce();
    void sizeTextNotTaken_data();
    void sizeTextNotTaken();
    void fractionalSize();
    void stylesAreReadAfreshOnEveryToggle();
    void effectBoxesRenderAtOnce();
    void fontListPickRendersEvenForTheSameFont();
};

void FontControlsTest::typingAndDeletingRenderOncePerChange()
{
    WindowFixture fixture;
    fixture.started();
    QTest::keyClick(fixture.window->Text1, Qt::Key_A);
    QCOMPARE(fixture.renderCount(), 1);
    QCOMPARE(fixture.lastRender().Text, QStringLiteral("a"));
    QVERIFY(fixture.window->canvas().scaleWidth() > 0);

    QTest::keyClick(fixture.window->Text1, Qt::Key_Backspace);
    QCOMPARE(fixture.renderCount(), 2);
    QVERIFY(fixture.lastRender().Text.isEmpty());

    // Nothing to delete: no change, no rendering.
    QTest::keyClick(fixture.window->Text1, Qt::Key_Backspace);
    QCOMPARE(fixture.renderCount(), 2);
}

void FontControlsTest::enterGivesCrLf()
{
    WindowFixture fixture;
    fixture.started();
    QTest::keyClicks(fixture.window->Text1, QStringLiteral("ab"));
    const int oneLine = fixture.window->canvas().scaleHeight();
    QTest::keyClick(fixture.window->Text1, Qt::Key_Return);
    QTest::keyClicks(fixture.window->Text1, QStringLiteral("cd"));
    QCOMPARE(fixture.renderCount(), 5);
    QCOMPARE(fixture.renders[2].Text, QStringLiteral("ab\r\n"));
    QCOMPARE(fixture.lastRender().Text, QStringLiteral("ab\r\ncd"));
    QCOMPARE(fixture.window->canvas().scaleHeight(), 2 * oneLine);

    QTest::keyClick(fixture.window->Text1, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(fixture.lastRender().Text, QStringLiteral("ab\r\ncd\r\n"));
}

void FontControlsTest::pastedLineBreaksStayOneBreak()
{
    WindowFixture fixture;
    fixture.started();
    QGuiApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree"));
    fixture.window->Text1->paste();
    QCOMPARE(fixture.renderCount(), 1);
    QCOMPARE(fixture.lastRender().Text, QStringLiteral("one\r\ntwo\r\nthree"));
}

void FontControlsTest::japaneseInputMethodCommitRendersOnce()
{
    WindowFixture fixture;
    fixture.started();
    // Composing shows the reading but changes no text.
    QInputMethodEvent composing(QStringLiteral("にほんご"), {});
    QCoreApplication::sendEvent(fixture.window->Text1, &composing);
    QCOMPARE(fixture.renderCount(), 0);

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("日本語"));
    QCoreApplication::sendEvent(fixture.window->Text1, &commit);
    QCOMPARE(fixture.renderCount(), 1);
    QCOMPARE(fixture.lastRender().Text, QStringLiteral("日本語"));
    QCOMPARE(fixture.lastRender().FontName, defaultFontName);
    QVERIFY(fixture.window->canvas().scaleWidth() >= 3 * 15);   // three full-width characters drawn
}

void FontControlsTest::tabLeavesTheTextBox()
{
    WindowFixture fixture;
    fixture.started();
    fixture.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fixture.window.get()));
    QCOMPARE(QApplication::focusWidget(), fixture.window->Text1);
    QTest::keyClick(fixture.window->Text1, Qt::Key_Tab);
    QVERIFY(fixture.window->Text1->toPlainText().isEmpty());
    QCOMPARE(QApplication::focusWidget(), fixture.window->Combo1);
    QCOMPARE(fixture.renderCount(), 0);
}

void FontControlsTest::sizeKeystrokesRenderEachSize()
{
    WindowFixture fixture;
    fixture.started();
    fixture.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fixture.window.get()));
    QLineEdit* edit = fixture.sizeEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(fixture.renderCount(), 1);   // empty: the size stays
    QCOMPARE(fixture.lastRender().FontSize, 14.25f);
    QVERIFY(fixture.lastRender().SizeText.isEmpty());

    QTest::keyClick(edit, Qt::Key_7);
    QTest::keyClick(edit, Qt::Key_2);
    QCOMPARE(fixture.renderCount(), 3);
    QCOMPARE(fixture.renders[1].SizeText, QStringLiteral("7"));
    QCOMPARE(fixture.renders[1].FontSize, realisedPoints(7));
    QCOMPARE(fixture.renders[2].SizeText, QStringLiteral("72"));
    QCOMPARE(fixture.renders[2].FontSize, 72.0f);
    // Both fonts took the size.
    QCOMPARE(fontPointSize(fixture.window->Label3.font()), 72.0);
    QCOMPARE(fontPointSize(fixture.window->canvas().font()), 72.0);

    // The box completes nothing: "1" stays "1", with no list popping up.
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_1);
    QCOMPARE(fixture.renderCount(), 4);
    QCOMPARE(fixture.lastRender().SizeText, QStringLiteral("1"));
    QCOMPARE(edit->text(), QStringLiteral("1"));
    QVERIFY(!QApplication::activePopupWidget());
    QTest::keyClick(edit, Qt::Key_2);
    QCOMPARE(fixture.lastRender().SizeText, QStringLiteral("12"));
    QCOMPARE(fixture.renderCount(), 5);

    // Leaving the box renders nothing more, even though the text names an entry; nor does Enter.
    QTest::keyClick(edit, Qt::Key_Tab);
    QVERIFY(!edit->hasFocus());
    QCOMPARE(fixture.renderCount(), 5);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("16"));
    QCOMPARE(fixture.renderCount(), 7);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(fixture.renderCount(), 7);
    QCOMPARE(fixture.window->Combo2->currentText(), QStringLiteral("16"));
    // Nor does closing the window with the focus in the box.
    fixture.window.reset();
    QCOMPARE(fixture.renderCount(), 7);
}

void FontControlsTest::pickingAListSizeRendersOnce()
{
    WindowFixture fixture;
    fixture.started();
    QComboBox* sizes = fixture.window->Combo2;
    QCOMPARE(sizes->count(), 15);

    // With the mouse from the open list.
    sizes->showPopup();
    QAbstractItemView* view = sizes->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QModelIndex entry = sizes->model()->index(sizes->findText(QStringLiteral("36")), 0);
    view->scrollTo(entry);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(4, view->visualRect(entry).center().y()));
    QCOMPARE(fixture.renderCount(), 1);
    QCOMPARE(fixture.lastRender().SizeText, QStringLiteral("36"));
    QCOMPARE(fixture.lastRender().FontSize, 36.0f);

    // With the keyboard: the next entry.
    QTest::keyClick(fixture.sizeEdit(), Qt::Key_Down);
    QCOMPARE(fixture.renderCount(), 2);
    QCOMPARE(fixture.lastRender().SizeText, QStringLiteral("48"));
    QCOMPARE(fixture.lastRender().FontSize, 48.0f);
}

void FontControlsTest::sizeTextNotTaken_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << QStringLiteral("abc");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << QStringLiteral("  ");
    QTest::newRow("zero") << QStringLiteral("0");
    QTest::newRow("negative") << QStringLiteral("-12");
    QTest::newRow("too large") << QStringLiteral("3000");
    QTest::newRow("overflow") << QStringLiteral("1e999");
}

void FontControlsTest::sizeTextNotTaken()
{
    QFETCH(QString, text);
    WindowFixture fixture;
    fixture.started();
    QLineEdit* edit = fixture.sizeEdit();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("20"));
    QCOMPARE(fixture.lastRender().FontSize, 20.25f);
    fixture.renders.clear();

    // Pasted over the whole text: one change.
    edit->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Delete);
    } else {
        QGuiApplication::clipboard()->setText(text);
        edit->paste();
    }
    QCOMPARE(fixture.renderCount(), 1);
    QCOMPARE(fixture.lastRender().SizeText, text);
    QCOMPARE(fixture.lastRender().FontSize, 20.25f);
    QCOMPARE(fontPointSize(fixture.window->Label3.font()), 20.25);
}

void FontControlsTest::fractionalSize()
{
    WindowFixture fixture;
    fixture.started();
    fixture.sizeEdit()->selectAll();
    QTest::keyClicks(fixture.sizeEdit(), QStringLiteral("12.5"));
    QCOMPARE(fixture.lastRender().SizeText, QStringLiteral("12.5"));
    QCOMPARE(fixture.lastRender().FontSize, realisedPoints(12.5));
    QCOMPARE(fontPointSize(fixture.window->Label3.font()), fontPointSize(fixture.window->canvas().font()));
    QVERIFY(qAbs(fixture.lastRender().FontSize - 12.5f) < 0.5f);
}

void FontControlsTest::stylesAreReadAfreshOnEveryToggle()
{
    WindowFixture fixture;
    fixture.started();
    const auto& toggles = fixture.window->Check1;
    const auto styles = [&] {
        const TextImageSettings& s = fixture.lastRender();
        return std::array<bool, 4>{s.FontBold, s.FontItalic, s.FontUnderline, s.FontStrikethrough};
    };

    QTest::mouseClick(toggles[0], Qt::LeftButton);
    QCOMPARE(fixture.renderCount(), 1);
    QVERIFY(toggles[0]->isChecked());
    QCOMPARE(styles(), (std::array<bool, 4>{true, false, false, false}));

    QTest::mouseClick(toggles[2], Qt::LeftButton);   // underline keeps bold
    QCOMPARE(fixture.renderCount(), 2);
    QCOMPARE(styles(), (std::array<bool, 4>{true, false, true, false}));

    QTest::mouseClick(toggles[1], Qt::LeftButton);
    QTest::mouseClick(toggles[3], Qt::LeftButton);
    QCOMPARE(fixture.renderCount(), 4);
    QCOMPARE(styles(), (std::array<bool, 4>{true, true, true, true}));

    QTest::mouseClick(toggles[0], Qt::LeftButton);   // bold off, the rest stay
    QCOMPARE(fixture.renderCount(), 5);
    QVERIFY(!toggles[0]->isChecked());
    QCOMPARE(styles(), (std::array<bool, 4>{false, true, true, true}));
    const QFont measuring = fixture.window->Label3.font();
    QVERIFY(!measuring.bold() && measuring.italic() && measuring.underline() && measuring.strikeOut());

    // The keyboard toggles too.
    toggles[1]->setFocus();
    QTest::keyClick(toggles[1], Qt::Key_Space);
    QCOMPARE(fixture.renderCount(), 6);
    QCOMPARE(styles(), (std::array<bool, 4>{false, false, true, true}));
}

void FontControlsTest::effectBoxesRenderAtOnce()
{
    WindowFixture fixture;
    fixture.started();
    QTest::keyClicks(fixture.window->Text1, QStringLiteral("x"));
    fixture.renders.clear();

    QTest::mouseClick(fixture.window->Check2, Qt::LeftButton);
    QCOMPARE(fixture.renderCount(), 1);
    QVERIFY(fixture.lastRender().Shadow);
    QTest::mouseClick(fixture.window->Check3, Qt::LeftButton);
    QCOMPARE(fixture.renderCount(), 2);
    QVERIFY(fixture.lastRender().Rainbow);
    QTest::mouseClick(fixture.window->Check4, Qt::LeftButton);
    QCOMPARE(fixture.renderCount(), 3);
    QVERIFY(fixture.lastRender().Framed);
    QTest::mouseClick(fixture.window->Check4, Qt::LeftButton);
    QCOMPARE(fixture.renderCount(), 4);
    QVERIFY(!fixture.lastRender().Framed);
    QVERIFY(fixture.lastRender().Shadow && fixture.lastRender().Rainbow);
}

void FontControlsTest::fontListPickRendersEvenForTheSameFont()
{
    WindowFixture fixture;
    fixture.started();
    QComboBox* fonts = fixture.window->Combo1;
    const int serif = fonts->findText(QStringLiteral("DejaVu Serif"));
    QVERIFY(serif >= 0);

    // The arrow keys pick the neighbouring entry in the closed list.
    fonts->setFocus();
    QTest::keyClick(fonts, Qt::Key_Up);
    QCOMPARE(fonts->currentIndex(), serif);
    QCOMPARE(fixture.renderCount(), 1);
    QCOMPARE(fixture.lastRender().FontName, fonts->currentText());
    QCOMPARE(fixture.window->Label3.font().family(), fonts->currentText());

    fonts->showPopup();
    QAbstractItemView* view = fonts->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QModelIndex current = fonts->model()->index(fonts->currentIndex(), 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(4, view->visualRect(current).center().y()));
    QCOMPARE(fixture.renderCount(), 2);
    QCOMPARE(fixture.renders[1], fixture.renders[0]);
}

QTEST_MAIN(FontControlsTest)
#include "tst_font_controls.moc"
