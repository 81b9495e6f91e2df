#pragma once
// A modal message to the user. The window reports failed saves through it; tests use a fake.

class QString;
class QWidget;

namespace sorvel {

class MessageBox {
public:
    virtual ~MessageBox();

    // Shows text with an error icon and an OK button; returns when the user closed it.
    virtual void showError(QWidget* parent, const QString& title, const QString& text) = 0;

protected:
    MessageBox() = default;
    MessageBox(const MessageBox&) = default;
    MessageBox& operator=(const MessageBox&) = default;
};

} // namespace sorvel
