#pragma once
// Builds the Qt dialog for each dialog request, configured but not shown, so that the
// mapping from request to dialog can be checked without a person (and without exec()).
// Each dialog is a child of the request's owner: destroy it before the owner.

#include "platform/widgets/DialogService.h"

#include <QFileDialog>

#include <memory>

class QColorDialog;
class QFont;
class QFontDialog;
class QInputDialog;

namespace sorvel {

struct FileDialogSetup {
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QFileDialog::Options options;

    friend bool operator==(const FileDialogSetup&, const FileDialogSetup&) = default;
};

// The option word of a file dialog in Qt terms. fileMustExist -> ExistingFile (the folder must
// exist too); without it any name is accepted. Without overwritePrompt a save never asks
// before replacing a file. noDereferenceLinks -> DontResolveSymlinks. Other bits have no
// counterpart: Qt shows no read-only box, never changes the current directory, and returns
// one path.
FileDialogSetup fileDialogSetup(FileDialogKind kind, std::int32_t optionWord);

// Owner, caption (only when the request has one), type list with its preselected entry,
// starting folder, proposed name, modes and options. A save dialog's default suffix follows
// the selected type entry ("*.png" -> "png"; "*.*" -> none).
std::unique_ptr<QFileDialog> createFileDialog(const FileDialogRequest& request);

// A directory-only file dialog captioned with the prompt, opening at startDir, or at the
// current directory when startDir is empty.
std::unique_ptr<QFileDialog> createFolderDialog(const FolderDialogRequest& request);

// Starts on initialColor. Also loads the request's 16 custom colours into QColorDialog's
// custom-colour row, which Qt keeps application-wide.
std::unique_ptr<QColorDialog> createColorDialog(const ColorDialogRequest& request);

// Starts on the request's font (face, size from the tenths, weight, italic, underline,
// strike-out). Qt's font dialog offers whole point sizes only and no colour.
std::unique_ptr<QFontDialog> createFontDialog(const FontDialogRequest& request);

// The result of a confirmed font dialog: the request's record with weight, italic, underline,
// strike-out and face of the chosen font, its size in tenths of a point (the request's own
// when the user left the whole size the dialog showed) with the height that size has at
// 96 dpi (negative: a character height), and the request's colour.
FontDialogResult fontDialogResult(const FontDialogRequest& request, const QFont& chosen);

// A one-line text prompt with title, prompt text and default answer.
std::unique_ptr<QInputDialog> createInputDialog(const InputPromptRequest& request);

// Prompt text as a label shows it: a carriage return alone or before a line feed is a line break.
QString promptDisplayText(const QString& prompt);

} // namespace sorvel
