#include "support/FakeDialogService.h"

namespace sorvel {

int FakeDialogService::totalCalls() const noexcept
{
    return openFileDialog.calls() + saveFileDialog.calls() + folderDialog.calls() + colorDialog.calls() +
           fontDialog.calls() + inputPrompt.calls();
}

FileDialogResult FakeDialogService::chosenFile(const QString& path)
{
    return {true, path};
}

FolderDialogResult FakeDialogService::chosenFolder(const QString& path)
{
    return {true, path};
}

ColorDialogResult FakeDialogService::chosenColor(ColorValue color, const CustomColors& customColors)
{
    return {true, color, customColors};
}

FontDialogResult FakeDialogService::keepFont(const FontDialogRequest& request)
{
    return {true, request.logFont, request.pointSizeTenths, request.color};
}

FileDialogResult FakeDialogService::openFile(const FileDialogRequest& request)
{
    return openFileDialog.answer(request);
}

FileDialogResult FakeDialogService::saveFile(const FileDialogRequest& request)
{
    return saveFileDialog.answer(request);
}

FolderDialogResult FakeDialogService::chooseFolder(const FolderDialogRequest& request)
{
    return folderDialog.answer(request);
}

ColorDialogResult FakeDialogService::chooseColor(const ColorDialogRequest& request)
{
    return colorDialog.answer(request);
}

FontDialogResult FakeDialogService::chooseFont(const FontDialogRequest& request)
{
    return fontDialog.answer(request);
}

QString FakeDialogService::inputText(const InputPromptRequest& request)
{
    return inputPrompt.answer(request);
}

} // namespace sorvel
