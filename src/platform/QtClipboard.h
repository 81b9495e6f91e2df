#pragma once
// The clipboard of the running QGuiApplication. On X11 the image is offered in every format
// Qt's image writers know (image/png, image/bmp, image/jpeg, ...), converted when a program
// asks for it; on Windows as a device-independent bitmap.

#include "platform/Clipboard.h"

namespace sorvel {

class QtClipboard final : public Clipboard {
public:
    // Fails when there is no QGuiApplication.
    bool clear() override;
    // Fails for a null image, without a QGuiApplication, or when the program could not become
    // the clipboard's owner (another program holding on to it).
    bool setImage(const QImage& image) override;
    bool ownsContent() const override;
};

} // namespace sorvel
