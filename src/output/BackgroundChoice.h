#pragma once
// The open dialog of the background button.

#include "image/ImageFormatTable.h"

#include <QString>

class QWidget;

namespace sorvel {

class FileDlg;

inline const QString backgroundDialogTitle = QStringLiteral("背景画像の選択");
// The first choice holds every ending the format table takes as a background picture.
inline const QString backgroundDialogFilter =
    QStringLiteral("使用可能な画像|") + backgroundNamePatterns() +
    QStringLiteral("|ビットマップファイル|*.bmp|JPEGファイル|*.jpg|PNGファイル|*.png|すべてのファイル|*.*|");

// Shows the open dialog (starting on the name the shared dialog last held) and returns the
// chosen file's full path, or an empty string when the user cancelled. A last name too long
// for the dialog (from a save into a deep folder) is dropped so that the dialog still opens.
QString chooseBackgroundPicture(FileDlg& dialog, QWidget* owner);

} // namespace sorvel
