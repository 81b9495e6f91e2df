#include "app/ReleaseReportingButton.h"

#include <QMouseEvent>

namespace sorvel {

void ReleaseReportingButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        QPushButton::mousePressEvent(event);
    else
        event->accept(); // keeps the release coming here
}

void ReleaseReportingButton::mouseReleaseEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const QPoint position = event->position().toPoint();
    if (button == Qt::LeftButton)
        QPushButton::mouseReleaseEvent(event); // clicks first, as the toolkit does
    else
        event->accept();
    emit mouseReleased(button, modifiers, position);
}

} // namespace sorvel
