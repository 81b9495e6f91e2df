#include "app/ColorSwatch.h"

#include "app/PaletteKeys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace sorvel {

namespace {

constexpr int focusMarkInset = 3; // pixels between the outer edge and the focus mark

} // namespace

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    setColor(m_color);
}

void ColorSwatch::setColor(ColorValue color)
{
    m_color = color;
    QPalette swatchPalette = palette();
    swatchPalette.setColor(QPalette::Window, toQColor(color));
    swatchPalette.setColor(QPalette::WindowText, toQColor(systemWindowText));
    setPalette(swatchPalette);
}

void ColorSwatch::mousePressEvent(QMouseEvent* event)
{
    event->accept(); // keeps the release coming here, whichever button
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit mouseReleased(event->button(), event->modifiers(), event->position().toPoint());
}

void ColorSwatch::keyPressEvent(QKeyEvent* event)
{
    if (const std::optional<ColorTarget> target = swatchKeyTarget(event->key(), event->modifiers())) {
        event->accept();
        emit chosenByKey(*target);
        return;
    }
    const int key = event->key();
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down ||
            key == Qt::Key_Home || key == Qt::Key_End) {
            event->accept();
            emit moveKeyPressed(key);
            return;
        }
    }
    QFrame::keyPressEvent(event);
}

// The mark is black on light colours and white on dark ones, so that it shows on every swatch.
void ColorSwatch::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    const QColor fill = palette().color(QPalette::Window);
    painter.setPen(QPen(qGray(fill.rgb()) < 128 ? Qt::white : Qt::black, 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(focusMarkInset - 1, focusMarkInset - 1, -focusMarkInset, -focusMarkInset));
}

} // namespace sorvel
