#include "dialogs/FileDlg.h"

#include "dialogs/FileDlgMod.h"
#include "dialogs/FileOptionWord.h"
#include "dialogs/FilterString.h"
#include "platform/Failure.h"
#include "platform/widgets/DialogService.h"

#include <QDir>

namespace sorvel {

namespace {
const QString folderPrompt = QStringLiteral("フォルダを選択してください。");
} // namespace

QString FileDlg::ShowOpen(QWidget* owner, const QString& filterText, const QString& startFolder)
{
    return showFileDialog(false, owner, filterText, startFolder);
}

QString FileDlg::ShowSave(QWidget* owner, const QString& filterText, const QString& startFolder)
{
    return showFileDialog(true, owner, filterText, startFolder);
}

QString FileDlg::showFileDialog(bool save, QWidget* owner, const QString& filterText, const QString& startFolder)
{
    const QString effectiveFilter = filterText.isEmpty() ? Filter : filterText;
    const QString startDir = startFolder.isEmpty() ? QDir::currentPath() : startFolder;
    Cancel = false;
    if (Filename.size() > maxFilenameLength)
        fail(FailureKind::BadArgument);

    FileDialogRequest request;
    request.kind = save ? FileDialogKind::Save : FileDialogKind::Open;
    request.owner = owner;
    request.title = Title;
    request.nameFilters = toNameFilters(effectiveFilter);
    request.selectedNameFilter = request.nameFilters.value(0);
    request.initialName = Filename;
    request.initialDir = startDir;
    request.options = save ? saveOptionWord(Flags) : openOptionWord(Flags);

    const FileDialogResult result = save ? m_dialogs.saveFile(request) : m_dialogs.openFile(request);
    const QString chosen = FileDlgMod::TrimNull(result.path);
    // A dialog that reports success without a path has chosen nothing.
    if (!result.accepted || chosen.isEmpty()) {
        Cancel = true;
        return {};
    }
    Filename = chosen;
    return Filename;
}

QString FileDlg::ShowDir(QWidget* owner, const QString& startFolder, std::int16_t flag)
{
    static_cast<void>(flag);
    Cancel = false;
    FileDlgMod::folderDialogStart = startFolder;

    FolderDialogRequest request;
    request.owner = owner;
    request.prompt = folderPrompt;
    request.startDir = FileDlgMod::folderDialogStart;

    // A failing dialog counts as a cancelled one: ShowDir raises nothing.
    FolderDialogResult result;
    carryOnAfterFailure([&] { result = m_dialogs.chooseFolder(request); });
    const QString folder = FileDlgMod::TrimNull(result.path);
    // A choice without a file-system path would otherwise come back as a lone separator.
    if (!result.accepted || folder.isEmpty()) {
        Cancel = true;
        return {};
    }
    return FileDlgMod::withTrailingSlash(folder);
}

} // namespace sorvel
