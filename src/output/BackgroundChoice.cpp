#include "output/BackgroundChoice.h"

#include "dialogs/FileDlg.h"
#include "platform/Failure.h"

namespace sorvel {

QString chooseBackgroundPicture(FileDlg& dialog, QWidget* owner)
{
    dialog.Title = backgroundDialogTitle;
    dialog.Flags = 0; // the save's flags stay with the save: the picture must exist
    const auto showDialog = [&] { dialog.ShowOpen(owner, backgroundDialogFilter); };
    // The dialog refuses a proposed name too long for it (the last save went into a deep
    // folder): the choice goes on with the dialog opened once more without a proposal.
    bool shown = carryOnAfterFailure(showDialog);
    if (!shown) {
        dialog.Filename.clear();
        // A dialog that cannot be shown even then chose nothing, as a cancelled one.
        shown = carryOnAfterFailure(showDialog);
    }
    if (!shown || dialog.Cancel)
        return {};
    return dialog.Filename;
}

} // namespace sorvel
