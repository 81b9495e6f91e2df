#pragma once
// The save dialog of the save button: proposes the text as the file name and returns the
// chosen path.

#include <QString>

#include <optional>

class QWidget;

namespace sorvel {

class FileDlg;

// Sets the dialog's proposed name (made from text), title and file types, shows it (asking
// before an existing file is replaced), and returns the chosen path; nothing when the user cancels or the dialog cannot
// be shown.
std::optional<QString> chooseSavePath(FileDlg& dialog, QWidget* owner, const QString& text);

} // namespace sorvel
