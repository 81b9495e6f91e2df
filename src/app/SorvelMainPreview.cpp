// The preview shows the canvas inside the sunken viewport; the scroll bars appear
// while the canvas is larger than the viewport and move it. Scrolling never renders. Each
// finished picture becomes the canvas when it arrives, and the bars follow its sizes.

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

void SorvelMain::onPictureReady()
{
    if (std::optional<PreviewPicture> picture = m_previewRenderer->takePicture())
        showPicture(std::move(*picture));
}

// The picture brings its pixels, size and measurement; the font and colours stay the
// window's, which may be newer than the picture's. A rendering may have changed the canvas size
// several times: the preview follows all of those sizes at once.
void SorvelMain::showPicture(PreviewPicture picture)
{
    CanvasSurface& canvas = picture.canvas;
    canvas.setFont(m_canvas.font());
    canvas.setForeColor(m_canvas.foreColor());
    canvas.setBackColor(m_canvas.backColor());
    canvas.setResizeListener([this] { onCanvasResized(); });
    const QSize shown(m_canvas.scaleWidth(), m_canvas.scaleHeight());
    m_canvas = std::move(canvas);
    m_measuringLabel = std::move(picture.label);
    std::vector<QSize>& sizes = picture.canvasSizes;
    // A canvas resized here since (only tests do) still ends in the picture's size.
    if (sizes.empty() && shown != QSize(m_canvas.scaleWidth(), m_canvas.scaleHeight()))
        sizes.emplace_back(m_canvas.scaleWidth(), m_canvas.scaleHeight());
    for (const QSize& size : sizes) {
        m_canvasWidths.push_back(size.width());
        m_canvasHeights.push_back(size.height());
    }
    followCanvasSizes();
    m_preview->update();
    emit rendered(picture.settings);
}

// Runs at every change of the canvas size made here, not by a rendering.
void SorvelMain::onCanvasResized()
{
    m_canvasWidths.push_back(m_canvas.scaleWidth());
    m_canvasHeights.push_back(m_canvas.scaleHeight());
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
