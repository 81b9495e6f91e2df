#pragma once
// Captions and prompts of saving an image to a file.

#include <QString>

namespace sorvel {

inline const QString saveDialogTitle = QStringLiteral("文字の保存");
inline const QString saveDialogFilter =
    QStringLiteral("ビットマップファイル|*.bmp|PNGファイル|*.png|JPEGファイル|*.jpg|すべてのファイル|*.*|");

// The JPEG quality prompt: one carriage return (no line feed) before the range, whose tilde is
// the full-width one.
inline const QString jpegPromptTitle = QStringLiteral("JPEG形式で保存");
inline const QString jpegPromptText = QStringLiteral("圧縮率を入力してください。\r0～100(%)");
inline const QString jpegPromptDefault = QStringLiteral("50");

// The message box shown when a file could not be written.
inline const QString saveFailedTitle = QStringLiteral("ファイルへ保存");
inline const QString saveFailedHeading = QStringLiteral("ファイルを保存できませんでした。");

} // namespace sorvel
