#pragma once
// A push button that also reports the release of any mouse button pressed on it. The left
// button still clicks as usual; the right and middle buttons do nothing but report.

#include <QPushButton>

namespace sorvel {

class ReleaseReportingButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

signals:
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace sorvel
