#pragma once
// A message box that records what would have been shown instead of showing it.

#include "platform/widgets/MessageBox.h"

#include <QList>
#include <QString>

namespace sorvel {

class FakeMessageBox final : public MessageBox {
public:
    struct Shown {
        QWidget* parent = nullptr;
        QString title;
        QString text;
    };

    void showError(QWidget* parent, const QString& title, const QString& text) override;

    QList<Shown> errors;
};

} // namespace sorvel
