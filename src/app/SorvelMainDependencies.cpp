#include "app/SorvelMainDependencies.h"

#include "output/ClipboardKeeper.h"
#include "platform/QtClipboard.h"
#include "platform/widgets/QtDialogService.h"
#include "platform/widgets/QtMessageBox.h"

#include <QCoreApplication>

namespace sorvel {

SorvelMainDependencies realDependencies()
{
    SorvelMainDependencies dependencies;
    dependencies.fontList = std::make_unique<InstalledFontList>();
    dependencies.dialogs = std::make_unique<QtDialogService>();
    dependencies.clipboard = std::make_unique<QtClipboard>();
    dependencies.messageBox = std::make_unique<QtMessageBox>();
    dependencies.keepClipboardImage = [](const QImage& image) { handOverClipboard(image); };
    dependencies.endProgram = [] { QCoreApplication::quit(); };
    return dependencies;
}

} // namespace sorvel
