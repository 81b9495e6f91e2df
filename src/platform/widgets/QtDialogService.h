#pragma once
// The dialog service of the running program: Qt's file, colour, font and input dialogs,
// shown modally over the request's owner.

#include "platform/widgets/DialogService.h"

namespace sorvel {

class QtDialogService final : public DialogService {
public:
    QtDialogService() = default;

    // The chosen path; a save adds the selected type's extension to a name typed without one.
    FileDialogResult openFile(const FileDialogRequest& request) override;
    FileDialogResult saveFile(const FileDialogRequest& request) override;
    FolderDialogResult chooseFolder(const FolderDialogRequest& request) override;
    // Confirmed: the colour and the custom-colour row as the user left it. Cancelled: the
    // request's custom colours come back unchanged.
    ColorDialogResult chooseColor(const ColorDialogRequest& request) override;
    // Confirmed: the request's record with face, size, weight and styles of the chosen font;
    // the colour comes back as given (Qt's font dialog has no colour choice).
    FontDialogResult chooseFont(const FontDialogRequest& request) override;
    QString inputText(const InputPromptRequest& request) override;
};

} // namespace sorvel
