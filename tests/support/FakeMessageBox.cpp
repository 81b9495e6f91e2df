#include "support/FakeMessageBox.h"

namespace sorvel {

void FakeMessageBox::showError(QWidget* parent, const QString& title, const QString& text)
{
    errors.append({parent, title, text});
}

} // namespace sorvel
