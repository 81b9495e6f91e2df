#pragma once
// The open-file, save-file and folder dialogs behind three calls. The caller sets the input
// properties, calls a Show... method with the owner window, then reads Cancel; only when
// Cancel is false does it read Filename. Properties keep their values between calls.

#include <QString>

#include <cstdint>
#include <optional>

class QWidget;

namespace sorvel {

class DialogService;

class FileDlg {
public:
    // The longest Filename the open and save dialogs accept as proposed name.
    static constexpr qsizetype maxFilenameLength = 256;

    explicit FileDlg(DialogService& dialogs) noexcept : m_dialogs(dialogs) { }

    // Result of the last call: true when the dialog was closed without a choice or failed.
    bool Cancel = false;
    // In: the name the file-name box proposes (may be a full path). Out: the chosen full path
    // after a confirmed open or save; unchanged by a cancelled call and by ShowDir.
    QString Filename;
    // Extra option bits (FileDialogOption) for the open and save dialogs.
    std::int32_t Flags = 0;
    // Filter text (see FilterString.h) used when a call's filterText is empty.
    QString Filter;
    // Caption of the open and save dialogs; never set: the platform's own caption.
    std::optional<QString> Title;

    // The chosen full path, or "" when cancelled. filterText empty: Filter is used; startFolder
    // empty: the process's current directory. The first file type is preselected.
    // Fails with BadArgument before any dialog when Filename is longer than maxFilenameLength
    // (Cancel is already false then, Filename unchanged).
    QString ShowOpen(QWidget* owner, const QString& filterText = {}, const QString& startFolder = {});

    // The chosen folder ending in '/', or "" when cancelled (also when the dialog fails or gives
    // no path). Starts at startFolder when not empty. flag has no effect. Never raises an error
    // and never touches Filename.
    QString ShowDir(QWidget* owner, const QString& startFolder = {}, std::int16_t flag = 0);

    // As ShowOpen, for a name to save under. A name typed without an extension comes back with
    // the extension of the selected file type.
    QString ShowSave(QWidget* owner, const QString& filterText = {}, const QString& startFolder = {});

private:
    QString showFileDialog(bool save, QWidget* owner, const QString& filterText, const QString& startFolder);

    DialogService& m_dialogs;
};

} // namespace sorvel
