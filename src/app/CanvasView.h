#pragma once
// The canvas on screen: a widget that shows the canvas's persistent image as it is. It never
// draws on its own and nothing is ever read back from it.

#include <QWidget>

namespace sorvel {

class CanvasSurface;

class CanvasView : public QWidget {
    Q_OBJECT
public:
    CanvasView(const CanvasSurface& canvas, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CanvasSurface& m_canvas;
};

} // namespace sorvel
