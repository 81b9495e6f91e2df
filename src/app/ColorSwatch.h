#pragma once
// One palette swatch: a flat box with a thin border, filled with its colour, that reports
// every mouse button released over it after being pressed on it, and, while it holds the
// keyboard focus, the keys that move along the palette or choose its colour. A focused swatch
// shows a dashed mark inside its border.

#include "app/ColorRouting.h"
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
    // Space or Enter (see PaletteKeys.h): the colour this swatch is to become.
    void chosenByKey(sorvel::ColorTarget target);
    // A key that may move the focus to another swatch (arrows, Home, End).
    void moveKeyPressed(int key);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ColorValue m_color = systemWindowBackground;
};

} // namespace sorvel
