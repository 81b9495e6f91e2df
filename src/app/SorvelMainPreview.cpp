// The preview shows the canvas inside the sunken viewport; the scroll bars appear
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

// Lowering the maximum below the value moves the value, and the preview follows it.
void applyState(QScrollBar& bar, const ScrollBarState& state)
{
    if (state.maximum != bar.maximum())
        bar.setMaximum(state.maximum);
    bar.setValue(state.value);
}

} // namespace

// Runs at every change of the canvas size. A rendering may change it several times: the sizes
// are noted, and the preview follows all of them at once when the rendering ends.
void SorvelMain::onCanvasResized()
{
    m_canvasWidths.push_back(m_canvas.scaleWidth());
    m_canvasHeights.push_back(m_canvas.scaleHeight());
    if (!m_rendering)
        followCanvasSizes();
}

// The preview takes the last size; each bar ends exactly as if it had followed every
// noted size in turn (a value lowered on the way stays lowered), but is set only once.
void SorvelMain::followCanvasSizes()
{
    if (m_canvasWidths.empty())
        return;
    m_preview->resize(m_canvas.scaleWidth(), m_canvas.scaleHeight());
    const QSize viewport = m_viewportClient->size();
    const ScrollBarState vertical =
        scrollBarAfter(stateOf(*m_verticalBar), m_canvasHeights, viewport.height(), verticalEndMargin);
    const ScrollBarState horizontal =
        scrollBarAfter(stateOf(*m_horizontalBar), m_canvasWidths, viewport.width(), horizontalEndMargin);
    m_canvasWidths.clear();
    m_canvasHeights.clear();
    m_verticalBar->setVisible(vertical.visible);
    m_horizontalBar->setVisible(horizontal.visible);
    applyState(*m_verticalBar, vertical);
    applyState(*m_horizontalBar, horizontal);
}

// The thumb's position: the value, or while the thumb is dragged the place it is dragged to.
void SorvelMain::onHorizontalScroll()
{
    m_preview->move(-m_horizontalBar->sliderPosition(), m_preview->y());
}

void SorvelMain::onVerticalScroll()
{
    m_preview->move(m_preview->x(), -m_verticalBar->sliderPosition());
}

} // namespace sorvel
