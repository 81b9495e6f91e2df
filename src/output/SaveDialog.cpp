#include "output/SaveDialog.h"

#include "dialogs/FileDlg.h"
#include "output/ProposedFileName.h"
#include "output/SaveTexts.h"
#include "platform/Failure.h"
#include "platform/widgets/DialogService.h"

namespace sorvel {

std::optional<QString> chooseSavePath(FileDlg& dialog, QWidget* owner, const QString& text)
{
    dialog.Filename = proposedFileName(text);
    dialog.Title = saveDialogTitle;
    dialog.Filter = saveDialogFilter;
    // Choosing an existing file asks before replacing it; "no" returns to the dialog.
    dialog.Flags = FileDialogOption::overwritePrompt;
    // A dialog that could not be shown chose nothing: never fall through to a stale name.
    if (!carryOnAfterFailure([&] { dialog.ShowSave(owner); }) || dialog.Cancel)
        return std::nullopt;
    return dialog.Filename;
}

} // namespace sorvel
