#pragma once
// One palette swatch: a flat box with a thin border, filled with its colour, that reports
// every mouse button released over it after being pressed on it.

#include "platform/ColorValue.h"

#include <QFrame>

namespace sorvel {

class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    ColorValue color() const { return m_color; }
    void setColor(ColorValue color);

signals:
    // Any button (left, right, middle), with the modifier keys and the position in the swatch.
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ColorValue m_color = systemWindowBackground;
};

} // namespace sorvel
