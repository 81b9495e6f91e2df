// The text box, font list, size box, style toggles and effect boxes of the real window, driven
// with simulated keys and clicks: each user action renders exactly once, with the right settings.
#include "WindowFixture.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QInputMethodEvent>

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
        QPlainTextEdit* text = fixture.window->Text1;
        QTest::keyClick(text, Qt::Key_A);
        QTest::keyClick(text, Qt::Key_Backspace);
        QTest::keyClick(text, Qt::Key_Backspace);   // nothing to delete: no change, no rendering
        QCOMPARE(fixture.renderCount(), 2);
        QCOMPARE(fixture.renders[0].Text, QStringLiteral("a"));

        // Enter, with or without Shift, gives CR LF.
        QTest::keyClicks(text, QStringLiteral("ab"));
        const int oneLine = fixture.window->canvas().scaleHeight();
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, QStringLiteral("cd"));
        QCOMPARE(fixture.window->canvas().scaleHeight(), 2 * oneLine);
        QTest::keyClick(text, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(fixture.renderCount(), 8);
        QCOMPARE(fixture.lastRender().Text, QStringLiteral("ab\r\ncd\r\n"));

        // Pasted line breaks of any kind: one paste, one rendering, CR LF each.
        text->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree\rfour"));
        text->paste();
        QCOMPARE(fixture.renderCount(), 9);
        QCOMPARE(fixture.lastRender().Text, QStringLiteral("one\r\ntwo\r\nthree\r\nfour"));

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
        QVERIFY(fixture.window->canvas().scaleWidth() >= 3 * 15);   // three full-width characters drawn
    }

    // Each keystroke in the size box renders once, and nothing else there renders: the box
    // completes nothing, and leaving it, Enter, or closing the window with the focus in it
    // chooses no entry of its list.
    void sizeKeystrokesRenderOnceEach()
    {
        WindowFixture fixture;
        fixture.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fixture.window.get()));
        QLineEdit* edit = fixture.sizeEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(fixture.lastRender().FontSize, 14.25f);   // empty: the size stays
        QTest::keyClicks(edit, QStringLiteral("72"));
        QCOMPARE(fixture.renderCount(), 3);
        QCOMPARE(fixture.renders[1].FontSize, realisedPoints(7));
        QCOMPARE(fixture.renders[2].FontSize, 72.0f);
        QCOMPARE(fontPointSize(fixture.window->Label3.font()), 72.0);
        QCOMPARE(fontPointSize(fixture.window->canvas().font()), 72.0);

        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_1);
        QCOMPARE(edit->text(), QStringLiteral("1"));
        QVERIFY(!QApplication::activePopupWidget());
        QTest::keyClick(edit, Qt::Key_2);
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(!edit->hasFocus());
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("16"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(fixture.window->Combo2->currentText(), QStringLiteral("16"));
        fixture.window.reset();
        QCOMPARE(fixture.renderCount(), 7);
        QCOMPARE(fixture.lastRender().SizeText, QStringLiteral("16"));
    }

    // A list pick renders once, with the mouse or the arrow keys, even for the entry shown.
    void listPicksRenderOnce()
    {
        WindowFixture fixture;
        QComboBox* sizes = fixture.window->Combo2;
        QVERIFY(clickListEntry(sizes, sizes->findText(QStringLiteral("36"))));
        QTest::keyClick(fixture.sizeEdit(), Qt::Key_Down);
        QCOMPARE(fixture.renderCount(), 2);
        QCOMPARE(fixture.renders[0].FontSize, 36.0f);
        QCOMPARE(fixture.lastRender().SizeText, QStringLiteral("48"));

        QComboBox* fonts = fixture.window->Combo1;
        fonts->setFocus();
        QTest::keyClick(fonts, Qt::Key_Up);
        QCOMPARE(fonts->currentText(), QStringLiteral("DejaVu Serif"));
        QVERIFY(clickListEntry(fonts, fonts->currentIndex()));
        QCOMPARE(fixture.renderCount(), 4);
        QCOMPARE(fixture.renders[3], fixture.renders[2]);
        QCOMPARE(fixture.lastRender().FontName, QStringLiteral("DejaVu Serif"));
        QCOMPARE(fixture.window->Label3.font().family(), QStringLiteral("DejaVu Serif"));
    }

    // A size text pasted over the box renders once: a usable size is taken as the font system
    // realises it, any other text keeps the size before.
    void refusedSizesKeepTheOldSize()
    {
        for (const QString text : {"12.5", "abc", "", "0", "3000", "1e999"}) {
            WindowFixture fixture;
            QLineEdit* edit = fixture.sizeEdit();
            edit->selectAll();
            QTest::keyClicks(edit, QStringLiteral("20"));
            fixture.renders.clear();
            edit->selectAll();
            QGuiApplication::clipboard()->setText(text);
            text.isEmpty() ? QTest::keyClick(edit, Qt::Key_Delete) : edit->paste();
            const float points = realisedPoints(text == u"12.5" ? 12.5 : 20);
            QCOMPARE(fixture.renderCount(), 1);
            QCOMPARE(fixture.lastRender().SizeText, text);
            QCOMPARE(fixture.lastRender().FontSize, points);
            QCOMPARE(fontPointSize(fixture.window->canvas().font()), double(points));
        }
    }

    // Every toggle renders once, with all four styles and the three effects read afresh.
    void togglesRenderWithEveryStyleAndEffect()
    {
        WindowFixture fixture;
        SorvelMain& w = *fixture.window;
        const std::pair<QAbstractButton*, const char*> steps[] = {
            {w.Check1[0], "1000000"}, {w.Check1[2], "1010000"}, {w.Check1[1], "1110000"}, {w.Check1[3], "1111000"},
            {w.Check1[0], "0111000"}, {w.Check2, "0111100"},    {w.Check3, "0111110"},    {w.Check4, "0111111"},
            {w.Check4, "0111110"}};
        for (const auto& [button, expected] : steps) {
            const int before = fixture.renderCount();
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(fixture.renderCount(), before + 1);
            const TextImageSettings& s = fixture.lastRender();
            QString state;
            for (bool on : {s.FontBold, s.FontItalic, s.FontUnderline, s.FontStrikethrough, s.Shadow, s.Rainbow, s.Framed})
                state += on ? u'1' : u'0';
            QCOMPARE(state, QString::fromLatin1(expected));
        }
        const QFont measuring = w.Label3.font();
        QVERIFY(!measuring.bold() && measuring.italic() && measuring.underline() && measuring.strikeOut());
        w.Check1[1]->setFocus();
        QTest::keyClick(w.Check1[1], Qt::Key_Space);   // the keyboard toggles too
        QCOMPARE(fixture.renderCount(), 10);
        QVERIFY(!fixture.lastRender().FontItalic);
    }
};

QTEST_MAIN(FontControlsTest)
#include "tst_font_controls.moc"
