#include "output/BackgroundChoice.h"

#include "dialogs/FileDlg.h"
#include "platform/Failure.h"

namespace sorvel {

QString chooseBackgroundPicture(FileDlg& dialog, QWidget* owner)
{
    dialog.Title = backgroundDialogTitle;
    bool shown = carryOnAfterFailure([&] { dialog.ShowOpen(owner, backgroundDialogFilter); });
    if (!shown) {
        dialog.Filename.clear();
        shown = carryOnAfterFailure([&] { dialog.ShowOpen(owner, backgroundDialogFilter); });
    }
    if (!shown || dialog.Cancel)
        return {};
    return dialog.Filename;
}

} // namespace sorvel
