// The preview: Picture1 shows the canvas inside the viewport Picture4; the scroll bars appear
// while the canvas is larger than the viewport and move it. Scrolling never renders.

#include "app/SorvelMain.h"

#include "app/CanvasView.h"
#include "app/ScrollRanges.h"

#include <QScrollBar>

namespace sorvel {

// Runs at every change of the canvas size, nested in the rendering.
void SorvelMain::Picture1_Resize()
{
    const int width = m_canvas.scaleWidth();
    const int height = m_canvas.scaleHeight();
    Picture1->resize(width, height);

    const QSize viewport = m_viewportClient->size();
    const ScrollRange vertical = verticalScrollRange(height, viewport.height());
    const ScrollRange horizontal = horizontalScrollRange(width, viewport.width());
    VScroll1->setVisible(vertical.visible);
    HScroll1->setVisible(horizontal.visible);
    // Lowering Max below the value moves the value, and Change follows it.
    if (vertical.visible)
        VScroll1->setMaximum(vertical.maximum);
    else
        VScroll1->setValue(0);
    if (horizontal.visible)
        HScroll1->setMaximum(horizontal.maximum);
    else
        HScroll1->setValue(0);
}

// The thumb's position: the value, or while the thumb is dragged the place it is dragged to.
void SorvelMain::HScroll1_Change()
{
    Picture1->move(-HScroll1->sliderPosition(), Picture1->y());
}

void SorvelMain::HScroll1_Scroll()
{
    HScroll1_Change();
}

void SorvelMain::VScroll1_Change()
{
    Picture1->move(Picture1->x(), -VScroll1->sliderPosition());
}

void SorvelMain::VScroll1_Scroll()
{
    VScroll1_Change();
}

} // namespace sorvel
