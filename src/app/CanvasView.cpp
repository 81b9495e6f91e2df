#include "app/CanvasView.h"

#include "render/CanvasSurface.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace sorvel {

CanvasView::CanvasView(const CanvasSurface& canvas, QWidget* parent) : QWidget(parent), m_canvas(canvas) { }

void CanvasView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), m_canvas.image(), event->rect());
}

void CanvasView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressedAt = event->position().toPoint();
    QWidget::mousePressEvent(event);
}

void CanvasView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressedAt && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - *m_pressedAt).manhattanLength() >= QApplication::startDragDistance()) {
        m_pressedAt.reset();
        emit dragStarted();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressedAt.reset();
    QWidget::mouseReleaseEvent(event);
}

} // namespace sorvel
