#include "app/CanvasView.h"

#include "render/CanvasSurface.h"

#include <QPaintEvent>
#include <QPainter>

namespace sorvel {

CanvasView::CanvasView(const CanvasSurface& canvas, QWidget* parent) : QWidget(parent), m_canvas(canvas) { }

void CanvasView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), m_canvas.image(), event->rect());
}

} // namespace sorvel
