#include "platform/widgets/QtMessageBox.h"

#include <QMessageBox>

namespace sorvel {

void QtMessageBox::showError(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::critical(parent, title, text);
}

} // namespace sorvel
