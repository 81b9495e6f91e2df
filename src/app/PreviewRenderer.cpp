#include "app/PreviewRenderer.h"

#include <QMutexLocker>
#include <QThread>

#include <utility>

namespace sorvel {

PreviewRenderer::PreviewRenderer(RenderFunction render) : m_render(std::move(render))
{
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->setObjectName(QStringLiteral("preview renderer"));
    m_thread->start();
}

PreviewRenderer::~PreviewRenderer()
{
    stop();
    m_thread->wait();
}

void PreviewRenderer::schedule(const TextImageSettings& settings)
{
    QMutexLocker lock(&m_mutex);
    if (m_stopping)
        return;
    m_waiting = settings;
    m_changed.wakeAll();
}

void PreviewRenderer::stop()
{
    QMutexLocker lock(&m_mutex);
    m_stopping = true;
    m_waiting.reset();
    m_changed.wakeAll();
}

bool PreviewRenderer::isBusy() const
{
    QMutexLocker lock(&m_mutex);
    return isBusyLocked();
}

std::optional<PreviewPicture> PreviewRenderer::takePicture(QDeadlineTimer deadline)
{
    QMutexLocker lock(&m_mutex);
    std::optional<PreviewPicture> newest;
    for (;;) {
        takeFinishedLocked(newest);
        if (!isBusyLocked())
            return newest;
        if (!m_changed.wait(&m_mutex, deadline)) {
            takeFinishedLocked(newest);
            return newest;
        }
    }
}

void PreviewRenderer::takeFinishedLocked(std::optional<PreviewPicture>& newest)
{
    if (!m_finished)
        return;
    if (newest) {
        std::vector<QSize>& sizes = m_finished->canvasSizes;
        sizes.insert(sizes.begin(), newest->canvasSizes.begin(), newest->canvasSizes.end());
    }
    newest = std::exchange(m_finished, std::nullopt);
    m_changed.wakeAll(); // the next rendering may start
}

void PreviewRenderer::run()
{
    QMutexLocker lock(&m_mutex);
    for (;;) {
        while (!m_stopping && (!m_waiting || m_finished))
            m_changed.wait(&m_mutex);
        if (m_stopping)
            return;
        const TextImageSettings settings = *std::exchange(m_waiting, std::nullopt);
        m_running = true;
        lock.unlock();
        PreviewPicture picture = draw(settings);
        lock.relock();
        m_running = false;
        if (!m_stopping)
            m_finished = std::move(picture);
        m_changed.wakeAll();
        if (m_finished) {
            lock.unlock();
            emit pictureReady();
            lock.relock();
        }
    }
}

// Draws on a blank canvas of the size and font the last rendering left (a step that fails
// keeps them, as on a canvas that lives on), and hands that canvas over with its image: the
// thread then holds no picture of its own between renderings.
PreviewPicture PreviewRenderer::draw(const TextImageSettings& settings)
{
    PreviewPicture picture{settings, std::exchange(m_nextCanvas, CanvasSurface()), {}, {}};
    CanvasSurface& canvas = picture.canvas;
    canvas.setResizeListener(
        [&canvas, &sizes = picture.canvasSizes] { sizes.emplace_back(canvas.scaleWidth(), canvas.scaleHeight()); });
    m_render(settings, {canvas, m_label, m_holder});
    canvas.setResizeListener({});
    m_nextCanvas.setFont(canvas.font());
    m_nextCanvas.setSize(canvas.scaleWidth(), canvas.scaleHeight());
    // Measured here, so that the owner's copy never lays out text in a font this thread shares.
    m_label.width();
    picture.label = m_label;
    return picture;
}

} // namespace sorvel
