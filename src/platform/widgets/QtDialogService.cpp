#include "platform/widgets/QtDialogService.h"

#include "platform/widgets/NameFilterSuffix.h"
#include "platform/widgets/QtDialogFactories.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QInputDialog>

namespace sorvel {

namespace {

FileDialogResult runFileDialog(FileDialogRequest request, FileDialogKind kind)
{
    request.kind = kind;
    const auto dialog = createFileDialog(request);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return {};
    QString path = chosen.first();
    if (kind == FileDialogKind::Save)
        path = withDefaultSuffix(path, dialog->selectedNameFilter());
    return {true, path};
}

} // namespace

FileDialogResult QtDialogService::openFile(const FileDialogRequest& request)
{
    return runFileDialog(request, FileDialogKind::Open);
}

FileDialogResult QtDialogService::saveFile(const FileDialogRequest& request)
{
    return runFileDialog(request, FileDialogKind::Save);
}

FolderDialogResult QtDialogService::chooseFolder(const FolderDialogRequest& request)
{
    const auto dialog = createFolderDialog(request);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty())
        return {};
    return {true, chosen.first()};
}

ColorDialogResult QtDialogService::chooseColor(const ColorDialogRequest& request)
{
    ColorDialogResult result;
    result.customColors = request.customColors;
    const auto dialog = createColorDialog(request);
    if (dialog->exec() != QDialog::Accepted)
        return result;
    result.accepted = true;
    result.color = fromQColor(dialog->selectedColor());
    for (int slot = 0; slot < customColorCount; ++slot)
        result.customColors[static_cast<std::size_t>(slot)] = fromQColor(QColorDialog::customColor(slot));
    return result;
}

FontDialogResult QtDialogService::chooseFont(const FontDialogRequest& request)
{
    const auto dialog = createFontDialog(request);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    return fontDialogResult(request, dialog->selectedFont());
}

QString QtDialogService::inputText(const InputPromptRequest& request)
{
    const auto dialog = createInputDialog(request);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    return dialog->textValue();
}

} // namespace sorvel
