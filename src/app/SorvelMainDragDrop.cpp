// Drag and drop: a picture file dropped anywhere on the window becomes the background picture,
// as if chosen in the background dialog; the preview dragged out carries the picture as PNG.

#include "app/SorvelMain.h"

#include "app/CanvasView.h"
#include "output/DroppedPicture.h"
#include "output/PictureDrag.h"

#include <QDrag>
#include <QDropEvent>
#include <QPixmap>
#include <QTemporaryDir>

namespace sorvel {

namespace {

constexpr int dragPictureWidth = 160; // the picture under the pointer while dragging, at most

// Accepts a drag that brings a background picture, as a copy of the file.
bool acceptPicture(QDropEvent& event)
{
    if (droppedBackgroundPicture(*event.mimeData()).isEmpty())
        return false;
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

} // namespace

void SorvelMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!acceptPicture(*event))
        event->ignore();
}

void SorvelMain::dragMoveEvent(QDragMoveEvent* event)
{
    if (!acceptPicture(*event))
        event->ignore();
}

// The dropped file is the choice, with the background button's rule: the next rendering reads
// it, and a file it cannot read leaves the picture the holder had.
void SorvelMain::dropEvent(QDropEvent* event)
{
    const QString path = droppedBackgroundPicture(*event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    m_backgroundPicture = path;
    renderPreview();
}

// The text box and the size box's edit field take dragged text; a picture file dragged over
// them goes to the window all the same.
bool SorvelMain::takePictureDrag(QEvent& event)
{
    switch (event.type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        return acceptPicture(static_cast<QDropEvent&>(event));
    case QEvent::Drop:
        if (droppedBackgroundPicture(*static_cast<QDropEvent&>(event).mimeData()).isEmpty())
            return false;
        dropEvent(static_cast<QDropEvent*>(&event));
        return true;
    default:
        return false;
    }
}

// Drags the picture the preview shows once its rendering is done. Its PNG file lives in a
// folder of the window's own until the window goes, so that a file manager can still copy it.
void SorvelMain::onPreviewDragged()
{
    waitForRendering();
    if (!m_dragFolder)
        m_dragFolder = std::make_unique<QTemporaryDir>();
    const QString folder = m_dragFolder->isValid() ? m_dragFolder->path() : QString();
    std::unique_ptr<QMimeData> picture =
        pictureDragData(m_canvas.image(), m_canvas.scaleWidth(), m_canvas.scaleHeight(), folder, m_lastText);
    if (!picture)
        return;
    if (m_dependencies.dragPicture) {
        m_dependencies.dragPicture(m_preview, std::move(picture));
        return;
    }
    auto* drag = new QDrag(m_preview);
    drag->setMimeData(picture.release());
    const QImage shown = m_canvas.image().copy(0, 0, m_canvas.scaleWidth(), m_canvas.scaleHeight());
    if (!shown.isNull())
        drag->setPixmap(QPixmap::fromImage(shown.width() > dragPictureWidth
                                               ? shown.scaledToWidth(dragPictureWidth, Qt::SmoothTransformation)
                                               : shown));
    drag->exec(Qt::CopyAction);
}

} // namespace sorvel
