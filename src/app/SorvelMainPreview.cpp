// The preview: Picture1 shows the canvas inside the viewport Picture4; the scroll bars appear
// while the canvas is larger than the viewport and move it. Scrolling never renders.

#include "app/SorvelMain.h"

#include "app/CanvasView.h"
#include "app/ScrollRanges.h"

#include <QScrollBar>

namespace sorvel {

namespace {

ScrollBarState stateOf(const QScrollBar& bar)
{
    return {!bar.isHidden(), bar.maximum(), bar.value()};
}

// Lowering Max below the value moves the value, and Change follows it.
void applyState(QScrollBar& bar, const ScrollBarState& state)
{
    if (state.maximum != bar.maximum())
        bar.setMaximum(state.maximum);
    bar.setValue(state.value);
}

} // namespace

// Runs at every change of the canvas size. A rendering may change it several times: the sizes
// are noted, and the preview follows all of them at once when the rendering ends.
void SorvelMain::Picture1_Resize()
{
    m_canvasWidths.push_back(m_canvas.scaleWidth());
    m_canvasHeights.push_back(m_canvas.scaleHeight());
    if (!m_rendering)
        followCanvasSizes();
}

// The canvas widget takes the last size; each bar ends exactly as if it had followed every
// noted size in turn (a value lowered on the way stays lowered), but is set only once.
void SorvelMain::followCanvasSizes()
{
    if (m_canvasWidths.empty())
        return;
    Picture1->resize(m_canvas.scaleWidth(), m_canvas.scaleHeight());
    const QSize viewport = m_viewportClient->size();
    const ScrollBarState vertical =
        scrollBarAfter(stateOf(*VScroll1), m_canvasHeights, viewport.height(), verticalEndMargin);
    const ScrollBarState horizontal =
        scrollBarAfter(stateOf(*HScroll1), m_canvasWidths, viewport.width(), horizontalEndMargin);
    m_canvasWidths.clear();
    m_canvasHeights.clear();
    VScroll1->setVisible(vertical.visible);
    HScroll1->setVisible(horizontal.visible);
    applyState(*VScroll1, vertical);
    applyState(*HScroll1, horizontal);
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
