#pragma once
// The system clipboard as the program uses it: empty it, put an image on it. Each operation
// says whether it worked; none raises. Tests use a fake in its place.

class QImage;

namespace sorvel {

class Clipboard {
public:
    virtual ~Clipboard();

    // Empties the clipboard, whoever owned it.
    virtual bool clear() = 0;
    // Puts a copy of image on the clipboard in the image formats other programs paste.
    virtual bool setImage(const QImage& image) = 0;
    // Whether the clipboard still holds what this program placed there (no other program
    // has taken it since).
    virtual bool ownsContent() const = 0;

protected:
    Clipboard() = default;
    Clipboard(const Clipboard&) = default;
    Clipboard& operator=(const Clipboard&) = default;
};

} // namespace sorvel
