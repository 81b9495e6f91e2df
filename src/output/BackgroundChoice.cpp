#include "output/BackgroundChoice.h"

#include "dialogs/FileDlg.h"
#include "platform/RunTimeError.h"

namespace sorvel {

QString chooseBackgroundPicture(FileDlg& dialog, QWidget* owner)
{
    dialog.Title = backgroundDialogTitle;
    bool shown = absorb([&] { dialog.ShowOpen(owner, backgroundDialogFilter); });
    if (!shown) {
        dialog.Filename.clear();
        shown = absorb([&] { dialog.ShowOpen(owner, backgroundDialogFilter); });
    }
    if (!shown || dialog.Cancel)
        return {};
    return dialog.Filename;
}

} // namespace sorvel
