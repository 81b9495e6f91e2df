// The size box shows four digits whole at its design geometry, in the text font and with the
// frame and arrow of the font list beside it.
#include "support/WindowFixture.h"
#include "app/DigitsFont.h"
#include "app/WindowLayout.h"

#include <QStyleOptionComboBox>

using namespace sorvel;
using namespace sorvel::test;

namespace {

// Where the edit field draws its text: its rectangle less its text margins and the two pixels
// a line edit keeps free on either side.
QRect textRectangle(const QLineEdit& edit)
{
    constexpr int lineEditMargin = 2;
    return edit.rect().marginsRemoved(edit.textMargins()).adjusted(lineEditMargin, 0, -lineEditMargin, 0);
}

QRect arrowOf(const QComboBox& box)
{
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = box.isEditable();
    option.frame = box.hasFrame();
    return box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, &box);
}

} // namespace

class SizeBoxTest : public QObject {
    Q_OBJECT
private slots:
    // "1000" fits the text rectangle in the box's own font; typed in, it shows from its first
    // digit: moving to the start scrolls nothing.
    void fourDigitsFit_data()
    {
        QTest::addColumn<QString>("size");
        QTest::newRow("150") << "150";
        QTest::newRow("1000") << "1000";
        QTest::newRow("2160") << "2160";
        QTest::newRow("10.5") << "10.5";
    }
    void fourDigitsFit()
    {
        QFETCH(QString, size);
        WindowFixture fixture;
        QLineEdit* edit = fixture.sizeEdit();
        const QRect text = textRectangle(*edit);
        QVERIFY2(QFontMetrics(edit->font()).horizontalAdvance(size) <= text.width(),
                 qPrintable(QStringLiteral("%1 px in %2 px")
                                .arg(QFontMetrics(edit->font()).horizontalAdvance(size))
                                .arg(text.width())));
        // The edit field lies inside the box and clear of the arrow.
        QComboBox* box = fixture.view().sizeBox();
        const QRect field(edit->mapTo(box, QPoint(0, 0)), edit->size());
        QVERIFY(box->rect().contains(field));
        QVERIFY(!field.intersects(arrowOf(*box)));

        edit->selectAll();
        QTest::keyClicks(edit, size);
        QCOMPARE(edit->text(), size);
        const int end = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        edit->home(false);
        const int start = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        QCOMPARE(end - start, QFontMetrics(edit->font()).horizontalAdvance(size));
        // The cursor's rectangle starts a pixel before the place between two characters.
        QVERIFY(text.adjusted(-1, 0, 0, 0).contains(QPoint(start, text.center().y())));
        QVERIFY(text.adjusted(-1, 0, 0, 0).contains(QPoint(end, text.center().y())));
    }

    // Same place and size as designed, the face of the text and of the font list (no larger,
    // and no smaller than the labels' beside it), and the font list's frame and arrow.
    void styleKeptWithTheFontList()
    {
        WindowFixture fixture;
        QComboBox* box = fixture.view().sizeBox();
        QComboBox* fonts = fixture.view().fontList();
        QCOMPARE(box->geometry(), layout::toPixels(layout::sizeBox.place));
        QCOMPARE(QFontInfo(box->font()).family(), QFontInfo(fonts->font()).family());
        QVERIFY(box->font().pixelSize() <= fonts->font().pixelSize());
        QVERIFY(box->font().pixelSize() >= fixture.window->font().pixelSize());
        QCOMPARE(fixture.sizeEdit()->font(), box->font());
        QCOMPARE(box->style(), fonts->style());
        QCOMPARE(arrowOf(*box).width(), arrowOf(*fonts).width());
        QCOMPARE(box->hasFrame(), fonts->hasFrame());
    }

    // A font in which the digits fit stays; else it shrinks a pixel at a time until they fit,
    // but not below the smallest size given.
    void fontFittingDigits()
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(20);
        const int digit = QFontMetrics(font).horizontalAdvance(u'0');
        QCOMPARE(sorvel::fontFittingDigits(font, 4 * digit, 4, 8).pixelSize(), 20);
        const QFont smaller = sorvel::fontFittingDigits(font, 4 * digit - 1, 4, 8);
        QVERIFY(smaller.pixelSize() < 20);
        QVERIFY(4 * QFontMetrics(smaller).horizontalAdvance(u'0') <= 4 * digit - 1);
        QFont larger = smaller;
        larger.setPixelSize(smaller.pixelSize() + 1);
        QVERIFY(4 * QFontMetrics(larger).horizontalAdvance(u'0') > 4 * digit - 1);
        QCOMPARE(sorvel::fontFittingDigits(font, 3, 4, 8).pixelSize(), 8);
        QCOMPARE(sorvel::fontFittingDigits(font, 3, 4, 8).family(), font.family());
    }
};

QTEST_MAIN(SizeBoxTest)
#include "tst_size_box.moc"
