#pragma once
// The canvas on screen: a widget that shows the canvas's persistent image as it is. It never
// draws on its own and nothing is ever read back from it. Pressing the left button on it and
// moving the pointer as far as the desktop's drag distance starts a drag of the picture.

#include <QPoint>
#include <QWidget>

#include <optional>

namespace sorvel {

class CanvasSurface;

class CanvasView : public QWidget {
    Q_OBJECT
public:
    CanvasView(const CanvasSurface& canvas, QWidget* parent);

signals:
    // Once for each press of the left button that moved far enough to be a drag.
    void dragStarted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const CanvasSurface& m_canvas;
    std::optional<QPoint> m_pressedAt; // where the left button went down, until a drag or release
};

} // namespace sorvel
