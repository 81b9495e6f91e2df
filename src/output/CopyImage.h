#pragma once
// Copying the canvas image to the clipboard: empty the clipboard, then place the whole image.

#include <QString>

class QImage;

namespace sorvel {

class Clipboard;

struct CopyResult {
    enum class Status {
        Copied,      // the clipboard holds the image
        ClearFailed, // the clipboard could not be emptied; nothing was placed
        PlaceFailed, // emptied, but the image could not be placed
        NoImage,     // emptied; the canvas has no area, so there is nothing to place
    };

    Status status = Status::Copied;

    bool ok() const { return status == Status::Copied; }
    // A sentence for the user, empty when the image was copied.
    QString message() const;
};

// Clears clipboard, then places a copy of the whole canvas image (not only its visible part).
// A failing step ends the action. Never raises.
CopyResult copyImageToClipboard(Clipboard& clipboard, const QImage& canvas) noexcept;

} // namespace sorvel
