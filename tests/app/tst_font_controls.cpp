// The text box, font list, size box, style toggles and effect boxes of the real window, driven
// with simulated keys and clicks: each user action renders exactly once, with the right settings.

#include "WindowFixture.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QtTest>

using namespace sorvel;
using namespace sorvel::test;

namespace {

// Opens the list of box and clicks its entry at row with the mouse.
bool clickListEntry(QComboBox* box, int row)
{
    box->showPopup();
    QAbstractItemView* view = box->view();
    if (!QTest::qWaitForWindowExposed(view->window()))
        return false;
    const QModelIndex entry = box->model()->index(row, 0);
    view->scrollTo(entry);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(4, view->visualRect(entry).center().y()));
    return true;
}

} // namespace

class FontControlsTest : public QObject {
    Q_OBJECT
private slots:
    void textChangesRenderOnceEach()
    {
        WindowFixture fixture;
        fixture.started();
        QPlainTextEdit* text = fixture.window->Text1;
        QTest::keyClick(text, Qt::Key_A);
        QCOMPARE(fixture.renderCount(), 1);
        QCOMPARE(fixture.lastRender().Text, QStringLiteral("a"));
        QVERIFY(fixture.window->canvas().scaleWidth() > 0);
        QTest::keyClick(text, Qt::Key_Backspace);
        QCOMPARE(fixture.renderCount(), 2);
        QVERIFY(fixture.lastRender().Text.isEmpty());
        // Nothing to delete: no change, no rendering.
        QTest::keyClick(text, Qt::Key_Backspace);
        QCOMPARE(fixture.renderCount(), 2);

        // Enter, with or without Shift, gives CR LF.
        QTest::keyClicks(text, QStringLiteral("ab"));
        const int oneLine = fixture.window->canvas().scaleHeight();
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(fixture.renderCount(), 5);
        QCOMPARE(fixture.lastRender().Text, QStringLiteral("ab\r\n"));
        QTest::keyClicks(text, QStringLiteral("cd"));
        QCOMPARE(fixture.lastRender().Text, QStringLiteral("ab\r\ncd"));
        QCOMPARE(fixture.window->canvas().scaleHeight(), 2 * oneLine);
        QTest::keyClick(text, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(fixture.lastRender().Text, QStringLiteral("ab\r\ncd\r\n"));

        // Pasted line breaks of any kind: one paste, one rendering, CR LF each.
        fixture.renders.clear();
        text->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree"));
        text->paste();
        QCOMPARE(fixture.renderCount(), 1);
        QCOMPARE(fixture.lastRender().Text, QStringLiteral("one\r\ntwo\r\nthree"));

        // Japanese input: composing shows the reading but changes no text; the commit renders once.
        text->clear();
        fixture.renders.clear();
        QInputMethodEvent composing(QStringLiteral("にほんご"), {});
        QCoreApplication::sendEvent(text, &composing);
        QCOMPARE(fixture.renderCount(), 0);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("日本語"));
        QCoreApplication::sendEvent(text, &commit);
        QCOMPARE(fixture.renderCount(), 1);
        QCOMPARE(fixture.lastRender().Text, QStringLiteral("日本語"));
        QCOMPARE(fixture.lastRender().FontName, defaultFontName);
        QVERIFY(fixture.window->canvas().scaleWidth() >= 3 * 15);   // three full-width characters drawn
    }

    void sizeKeystrokesRenderEachSize()
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

        // Leaving the box renders nothing more, even though the text names an entry; nor does
        // Enter, nor closing the window with the focus in the box.
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
        fixture.window.reset();
        QCOMPARE(fixture.renderCount(), 7);
    }

    void pickingAListSizeRendersOnce()
    {
        WindowFixture fixture;
        fixture.started();
        QComboBox* sizes = fixture.window->Combo2;
        QVERIFY(clickListEntry(sizes, sizes->findText(QStringLiteral("36"))));   // with the mouse
        QCOMPARE(fixture.renderCount(), 1);
        QCOMPARE(fixture.lastRender().SizeText, QStringLiteral("36"));
        QCOMPARE(fixture.lastRender().FontSize, 36.0f);

        // With the keyboard: the next entry.
        QTest::keyClick(fixture.sizeEdit(), Qt::Key_Down);
        QCOMPARE(fixture.renderCount(), 2);
        QCOMPARE(fixture.lastRender().SizeText, QStringLiteral("48"));
        QCOMPARE(fixture.lastRender().FontSize, 48.0f);
    }

    // A size text pasted over the box renders once: a usable size is taken as the font system
    // realises it, any other text keeps the size before.
    void sizeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("points");
        QTest::newRow("fraction") << QStringLiteral("12.5") << 12.5;
        QTest::newRow("letters") << QStringLiteral("abc") << 20.0;
        QTest::newRow("empty") << QString() << 20.0;
        QTest::newRow("blanks") << QStringLiteral("  ") << 20.0;
        QTest::newRow("zero") << QStringLiteral("0") << 20.0;
        QTest::newRow("negative") << QStringLiteral("-12") << 20.0;
        QTest::newRow("too large") << QStringLiteral("3000") << 20.0;
        QTest::newRow("overflow") << QStringLiteral("1e999") << 20.0;
    }
    void sizeText()
    {
        QFETCH(QString, text);
        QFETCH(double, points);
        WindowFixture fixture;
        fixture.started();
        QLineEdit* edit = fixture.sizeEdit();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("20"));
        QCOMPARE(fixture.lastRender().FontSize, 20.25f);
        fixture.renders.clear();

        edit->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Delete);
        } else {
            QGuiApplication::clipboard()->setText(text);
            edit->paste();
        }
        QCOMPARE(fixture.renderCount(), 1);
        QCOMPARE(fixture.lastRender().SizeText, text);
        QCOMPARE(fixture.lastRender().FontSize, realisedPoints(points));
        QVERIFY(qAbs(fixture.lastRender().FontSize - points) < 0.5);
        QCOMPARE(fontPointSize(fixture.window->Label3.font()), double(realisedPoints(points)));
        QCOMPARE(fontPointSize(fixture.window->canvas().font()), double(realisedPoints(points)));
    }

    // Every toggle renders once, with all four styles and the three effects read afresh.
    void togglesRenderWithEveryStyleAndEffect()
    {
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        const auto state = [&] {
            const TextImageSettings& s = fixture.lastRender();
            return std::array<bool, 7>{s.FontBold, s.FontItalic, s.FontUnderline, s.FontStrikethrough,
                                       s.Shadow, s.Rainbow, s.Framed};
        };
        const std::vector<std::pair<QAbstractButton*, std::array<bool, 7>>> steps{
            {w.Check1[0], {true, false, false, false, false, false, false}},
            {w.Check1[2], {true, false, true, false, false, false, false}},   // underline keeps bold
            {w.Check1[1], {true, true, true, false, false, false, false}},
            {w.Check1[3], {true, true, true, true, false, false, false}},
            {w.Check1[0], {false, true, true, true, false, false, false}},    // bold off, the rest stay
            {w.Check2, {false, true, true, true, true, false, false}},
            {w.Check3, {false, true, true, true, true, true, false}},
            {w.Check4, {false, true, true, true, true, true, true}},
            {w.Check4, {false, true, true, true, true, true, false}},
        };
        for (const auto& [button, expected] : steps) {
            const int before = fixture.renderCount();
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(fixture.renderCount(), before + 1);
            QCOMPARE(state(), expected);
        }
        QVERIFY(!w.Check1[0]->isChecked() && w.Check1[1]->isChecked());
        const QFont measuring = w.Label3.font();
        QVERIFY(!measuring.bold() && measuring.italic() && measuring.underline() && measuring.strikeOut());

        // The keyboard toggles too.
        w.Check1[1]->setFocus();
        QTest::keyClick(w.Check1[1], Qt::Key_Space);
        QCOMPARE(fixture.renderCount(), 10);
        QCOMPARE(state(), (std::array<bool, 7>{false, false, true, true, true, true, false}));
    }

    void fontListPickRendersEvenForTheSameFont()
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

        QVERIFY(clickListEntry(fonts, fonts->currentIndex()));
        QCOMPARE(fixture.renderCount(), 2);
        QCOMPARE(fixture.renders[1], fixture.renders[0]);
    }
};

QTEST_MAIN(FontControlsTest)
#include "tst_font_controls.moc"
