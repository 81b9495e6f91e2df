#pragma once
// The background picture holder, never shown: keeps the last picture loaded into it and sizes itself to it.
// Its background colour is the button face. Loads of BMP and JPEG files go through the
// picture loader; the PNG reader draws on its surface.

#include <QImage>
#include <QString>

namespace sorvel {

class PictureHolder {
public:
    static constexpr int designWidth = 41;  // 615 twips
    static constexpr int designHeight = 33; // 495 twips

    PictureHolder();

    // Reads a BMP or JPEG file as the holder's picture; the holder takes its size. Fails with
    // UnreadableFile on a missing, unreadable or too large file, leaving the holder as it was.
    void loadPicture(const QString& path);
    // The holder keeps its size; its surface shows only its background colour; no picture.
    void clearPicture();
    // The drawing surface an outside reader draws on (see readPngIntoHolder). Resizing it resizes
    // the holder.
    QImage& surface() { return m_surface; }
    // After pending drawing, the current surface becomes the holder's picture.
    void takeSurfaceAsPicture();

    const QImage& picture() const { return m_picture; }
    int scaleWidth() const { return m_surface.width(); }
    int scaleHeight() const { return m_surface.height(); }

private:
    QImage m_surface;
    QImage m_picture;
};

} // namespace sorvel
