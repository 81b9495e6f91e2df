#include "app/DigitsFont.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>

namespace sorvel {

namespace {

constexpr int lineEditMargin = 2; // QLineEdit's own free space left and right of its text

int widestDigit(const QFont& font)
{
    const QFontMetrics metrics(font);
    int widest = 0;
    for (char16_t digit = u'0'; digit <= u'9'; ++digit)
        widest = std::max(widest, metrics.horizontalAdvance(QChar(digit)));
    return widest;
}

} // namespace

QFont fontFittingDigits(const QFont& font, int width, int digits, int minimumPixels)
{
    QFont fitting = font;
    int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
    while (pixels > minimumPixels && widestDigit(fitting) * digits > width) {
        --pixels;
        fitting.setPixelSize(pixels);
    }
    return fitting;
}

int editFieldTextWidth(const QComboBox& box)
{
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = box.isEditable();
    option.frame = box.hasFrame();
    const QRect field = box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box);
    const QMargins margins = box.lineEdit() ? box.lineEdit()->textMargins() : QMargins();
    return field.width() - 2 * lineEditMargin - margins.left() - margins.right();
}

} // namespace sorvel
