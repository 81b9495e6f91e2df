#include "app/ColorSwatch.h"

#include <QMouseEvent>

namespace sorvel {

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

} // namespace sorvel
