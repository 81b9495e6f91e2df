#pragma once
// Renders the preview's pictures on a thread of its own, so that the window answers input
// however long a rendering takes. Settings that come while a rendering runs wait; newer
// settings replace them, so that after the running rendering only the newest are rendered.
// Each finished picture waits until its owner takes it, and the next rendering starts only
// then: at most one picture waits besides the one being drawn.
//
// The thread has surfaces of its own (canvas, measuring label, picture holder), which the rest
// of the program never touches; a finished picture is handed over whole. Uses no widgets.

#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "render/RenderTextImage.h"
#include "render/TextImageSettings.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QObject>
#include <QSize>
#include <QWaitCondition>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QThread;

namespace sorvel {

// Draws one picture of the settings on the surfaces, as RenderTextImage does.
using RenderFunction = std::function<void(const TextImageSettings& settings, const RenderSurfaces& surfaces)>;

// One finished rendering.
struct PreviewPicture {
    TextImageSettings settings; // what it drew
    CanvasSurface canvas;       // the canvas as the rendering left it; its image is its own
    MeasuringLabel label;       // the label that measured the text, already measured
    // Every size the canvas took during the rendering, in turn (none when it kept its size).
    // A picture taken in place of earlier ones that were never taken carries their sizes first.
    std::vector<QSize> canvasSizes;
};

class PreviewRenderer : public QObject {
    Q_OBJECT
public:
    explicit PreviewRenderer(RenderFunction render = RenderTextImage);
    // Stops, and waits for the running rendering to end.
    ~PreviewRenderer() override;

    // Renders these settings next, in place of any that still wait.
    void schedule(const TextImageSettings& settings);
    // Drops the settings that wait; the running rendering ends, its picture is never handed
    // over, and nothing scheduled later is rendered. Returns at once.
    void stop();

    // A rendering runs, or settings wait for one.
    bool isBusy() const;
    // Waits until no rendering runs or waits, or until the deadline, taking every picture
    // finished on the way; returns the newest of them (none: nothing finished). Each picture
    // is taken once.
    std::optional<PreviewPicture> takePicture(QDeadlineTimer deadline = QDeadlineTimer(0));

signals:
    // A finished picture waits to be taken. Sent from the rendering thread.
    void pictureReady();

private:
    void run();
    PreviewPicture draw(const TextImageSettings& settings);
    bool isBusyLocked() const { return m_running || m_waiting.has_value(); }
    void takeFinishedLocked(std::optional<PreviewPicture>& newest);

    // Used by the rendering thread only.
    RenderFunction m_render;
    CanvasSurface m_nextCanvas; // blank, in the size and font the last rendering left
    MeasuringLabel m_label;
    PictureHolder m_holder; // keeps the background picture from one rendering to the next

    // Shared between the threads, under m_mutex.
    mutable QMutex m_mutex;
    QWaitCondition m_changed; // any of the four below changed
    std::optional<TextImageSettings> m_waiting;
    std::optional<PreviewPicture> m_finished;
    bool m_running = false;
    bool m_stopping = false;

    std::unique_ptr<QThread> m_thread;
};

} // namespace sorvel
