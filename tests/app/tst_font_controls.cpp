// The text box, font list, size box, style toggles and effect boxes of the real window, driven
// with simulated keys and clicks: each user action renders exactly once, with the right settings.
#include "support/WindowFixture.h"
#include "text/FontSystem.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QInputMethodEvent>

using namespace sorvel;
using namespace sorvel::test;
using Style = SorvelMainTestView::Style;

namespace {

// Opens the list of box and clicks its entry at row with the mouse.
void clickListEntry(QComboBox* box, int row)
{
    box->showPopup();
    QAbstractItemView* view = box->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    view->scrollTo(box->model()->index(row, 0));
    const int y = view->visualRect(box->model()->index(row, 0)).center().y();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(4, y));
}

// The size the font system realises for a request in points (14 -> 14.25).
float realisedPoints(double points)
{
    QFont font;
    setFontPointSize(font, points);
    return static_cast<float>(fontPointSize(font));
}

} // namespace

class FontControlsTest : public QObject {
    Q_OBJECT
private slots:
    // A key, a deletion (none with nothing to delete), Enter with or without Shift as CR LF, a
    // committed input method text (not its composing reading), a paste with every kind of line
    // break: each renders once.
    void textChangesRenderOnceEach()
    {
        WindowFixture fixture;
        QPlainTextEdit* text = fixture.view().textBox();
        QTest::keyClick(text, Qt::Key_A);
        QTest::keyClick(text, Qt::Key_Backspace);
        QTest::keyClick(text, Qt::Key_Backspace);
        QTest::keyClicks(text, QStringLiteral("ab"));
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClick(text, Qt::Key_Return, Qt::ShiftModifier);
        QInputMethodEvent composing(QStringLiteral("にほんご"), {});
        QCoreApplication::sendEvent(text, &composing);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("日本語"));
        QCoreApplication::sendEvent(text, &commit);
        text->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree\rfour"));
        text->paste();
        QCOMPARE(fixture.renderedList(&TextImageSettings::Text),
                 QStringList(
                     {"a", "", "a", "ab", "ab\r\n", "ab\r\n\r\n", "ab\r\n\r\n日本語", "one\r\ntwo\r\nthree\r\nfour"}));
    }

    // Each keystroke in the size box renders once; the box completes nothing. Guards fixed faults:
    // extra renderings when the box was left, on Enter, or when the window closed with the focus
    // in it (each chose an entry of the list).
    void sizeKeystrokesRenderOnceEach()
    {
        WindowFixture fixture;
        fixture.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fixture.window.get()));
        QLineEdit* edit = fixture.sizeEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QStringLiteral("72"));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_1);
        QVERIFY(edit->text() == QStringLiteral("1") && !QApplication::activePopupWidget());
        QTest::keyClick(edit, Qt::Key_2);
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(!edit->hasFocus());
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("16"));
        QTest::keyClick(edit, Qt::Key_Return);
        fixture.window.reset();
        QCOMPARE(fixture.renderedList(&TextImageSettings::SizeText),
                 QStringList({"", "7", "72", "1", "12", "1", "16"}));
    }

    // A list pick renders once, with the mouse or the arrow keys, even for the entry shown.
    void listPicksRenderOnce()
    {
        WindowFixture fixture;
        QComboBox* sizes = fixture.view().sizeBox();
        clickListEntry(sizes, sizes->findText(QStringLiteral("36")));
        QTest::keyClick(fixture.sizeEdit(), Qt::Key_Down);
        QComboBox* fonts = fixture.view().fontList();
        fonts->setFocus();
        QTest::keyClick(fonts, Qt::Key_Up);
        clickListEntry(fonts, fonts->currentIndex());
        QCOMPARE(fixture.renderedList(&TextImageSettings::FontSize), QList<float>({36.0f, 48.0f, 48.0f, 48.0f}));
        const QString serif = QStringLiteral("DejaVu Serif");
        QCOMPARE(fixture.renderedList(&TextImageSettings::FontName),
                 QStringList({defaultFontName, defaultFontName, serif, serif}));
        QCOMPARE(fixture.view().measuringLabel().font().family(), serif);
    }

    // A size text pasted over the box renders once: a usable size is taken as the font system
    // realises it, any other text keeps the size before, also in the canvas.
    void refusedSizesKeepTheOldSize()
    {
        WindowFixture fixture;
        const QStringList texts{"12.5", "abc", "", "0", "3000", "1e999"};
        for (const QString& text : texts) {
            fixture.sizeEdit()->selectAll();
            QGuiApplication::clipboard()->setText(text);
            text.isEmpty() ? QTest::keyClick(fixture.sizeEdit(), Qt::Key_Delete) : fixture.sizeEdit()->paste();
        }
        QCOMPARE(fixture.renderedList(&TextImageSettings::SizeText), texts);
        QCOMPARE(fixture.renderedList(&TextImageSettings::FontSize), QList<float>(texts.size(), realisedPoints(12.5)));
        QCOMPARE(fontPointSize(fixture.window->canvas().font()), double(realisedPoints(12.5)));
    }

    // Every toggle renders once, with all four styles and the three effects read afresh.
    void togglesRenderWithEveryStyleAndEffect()
    {
        WindowFixture fixture;
        SorvelMain& w = *fixture.window;
        const SorvelMainTestView v(w);
        for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
                 v.styleButton(Style::Bold), v.styleButton(Style::Underline), v.styleButton(Style::Italic),
                 v.styleButton(Style::Strikethrough), v.styleButton(Style::Bold), v.shadowBox(), v.rainbowBox(),
                 v.frameBox(), v.frameBox()})
            QTest::mouseClick(button, Qt::LeftButton);
        QStringList states;
        for (const TextImageSettings& s : fixture.renders) {
            states << QString();
            for (bool on :
                 {s.FontBold, s.FontItalic, s.FontUnderline, s.FontStrikethrough, s.Shadow, s.Rainbow, s.Framed})
                states.last() += on ? u'1' : u'0';
        }
        QCOMPARE(states, QStringList({"1000000", "1010000", "1110000", "1111000", "0111000", "0111100", "0111110",
                                      "0111111", "0111110"}));
    }
};

QTEST_MAIN(FontControlsTest)
#include "tst_font_controls.moc"
