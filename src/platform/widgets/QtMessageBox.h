#pragma once
// The message box the running program shows: Qt's own, modal over the window.

#include "platform/widgets/MessageBox.h"

namespace sorvel {

// The platform's message box (QMessageBox).
class QtMessageBox final : public MessageBox {
public:
    void showError(QWidget* parent, const QString& title, const QString& text) override;
};

} // namespace sorvel
