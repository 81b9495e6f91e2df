#pragma once
// What the main window takes from outside, so that tests can stand in for it. main() uses
// realDependencies(); a test fills in its own.

#include "app/PreviewRenderer.h"
#include "platform/Clipboard.h"
#include "text/FontList.h"
#include "platform/widgets/DialogService.h"
#include "platform/widgets/MessageBox.h"

#include <QImage>
#include <QMimeData>

#include <functional>
#include <memory>

namespace sorvel {

struct SorvelMainDependencies {
    // The installed screen font names, read once while the window starts (none given: the
    // installed list).
    std::unique_ptr<FontList> fontList;
    // The file, colour and font dialogs and the input prompt.
    std::unique_ptr<DialogService> dialogs;
    // The system clipboard.
    std::unique_ptr<Clipboard> clipboard;
    // Reports what the user must know: a file that could not be saved, a failed copy.
    std::unique_ptr<MessageBox> messageBox;
    // Keeps the copied image available to other programs after this one ends (on X11 the
    // owner serves the clipboard). Called at close while the program still owns the clipboard.
    std::function<void(const QImage&)> keepClipboardImage;
    // Runs first when the window is closed, before the program ends: the one place to hand
    // over whatever must outlive the program (the clipboard image). May be empty.
    std::function<void()> beforeProgramEnds;
    // Ends the program; the real one leaves the event loop.
    std::function<void()> endProgram;
    // Runs the drag of the picture out of the preview (source), taking the data it carries;
    // returns when the drag ends (none given: the desktop's drag and drop, offering a copy).
    std::function<void(QWidget* source, std::unique_ptr<QMimeData> data)> dragPicture;
    // Draws each picture of the preview, on the preview's own thread (none given:
    // RenderTextImage). It runs beside the window and touches nothing of it.
    RenderFunction renderer;
};

SorvelMainDependencies realDependencies();

} // namespace sorvel
