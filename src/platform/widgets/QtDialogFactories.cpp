#include "platform/widgets/QtDialogFactories.h"

#include "platform/Conversions.h"
#include "platform/widgets/NameFilterSuffix.h"

#include <QColorDialog>
#include <QDir>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>

namespace sorvel {

FileDialogSetup fileDialogSetup(FileDialogKind kind, std::int32_t optionWord)
{
    FileDialogSetup setup;
    setup.acceptMode = kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen;
    setup.fileMode = (optionWord & FileDialogOption::fileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile;
    if (!(optionWord & FileDialogOption::overwritePrompt))
        setup.options |= QFileDialog::DontConfirmOverwrite;
    if (optionWord & FileDialogOption::noDereferenceLinks)
        setup.options |= QFileDialog::DontResolveSymlinks;
    return setup;
}

std::unique_ptr<QFileDialog> createFileDialog(const FileDialogRequest& request)
{
    auto dialog = std::make_unique<QFileDialog>(request.owner);
    const FileDialogSetup setup = fileDialogSetup(request.kind, request.options);
    dialog->setOptions(setup.options);
    dialog->setAcceptMode(setup.acceptMode);
    dialog->setFileMode(setup.fileMode);
    if (request.title)
        dialog->setWindowTitle(*request.title);
    dialog->setDirectory(request.initialDir);
    if (!request.nameFilters.isEmpty()) {
        dialog->setNameFilters(request.nameFilters);
        // Before the name: in a save dialog, choosing a type rewrites the proposed name's extension.
        if (!request.selectedNameFilter.isEmpty())
            dialog->selectNameFilter(request.selectedNameFilter);
    }
    if (request.kind == FileDialogKind::Save) {
        dialog->setDefaultSuffix(defaultSuffixOfNameFilter(dialog->selectedNameFilter()));
        QFileDialog* raw = dialog.get();
        QObject::connect(raw, &QFileDialog::filterSelected, raw,
                         [raw](const QString& filter) { raw->setDefaultSuffix(defaultSuffixOfNameFilter(filter)); });
    }
    if (!request.initialName.isEmpty())
        dialog->selectFile(request.initialName);
    return dialog;
}

std::unique_ptr<QFileDialog> createFolderDialog(const FolderDialogRequest& request)
{
    auto dialog = std::make_unique<QFileDialog>(request.owner);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly, true);
    dialog->setWindowTitle(request.prompt);
    // Without a start folder, the current directory rather than the folder Qt remembers from
    // an earlier run: nothing of a run carries over to the next.
    dialog->setDirectory(request.startDir.isEmpty() ? QDir::currentPath() : request.startDir);
    return dialog;
}

std::unique_ptr<QColorDialog> createColorDialog(const ColorDialogRequest& request)
{
    for (int slot = 0; slot < customColorCount; ++slot)
        QColorDialog::setCustomColor(slot, toQColor(request.customColors[static_cast<std::size_t>(slot)]));
    auto dialog = std::make_unique<QColorDialog>(request.owner);
    dialog->setCurrentColor(toQColor(request.initialColor));
    return dialog;
}

namespace {

// The font the dialog starts on. Qt's dialog finds the face's style by name and falls back to
// the face's first style (often an italic or condensed one) when the name is not one of the
// face's own ("Normal" where the face says "Book"): name the style the font resolves to.
QFont fontDialogStartFont(const FontDialogRequest& request)
{
    QFont font = qFontFromLogFont(request.logFont, request.pointSizeTenths);
    font.setStyleName(QFontInfo(font).styleName());
    return font;
}

// The whole point size the dialog shows for a font (it offers whole sizes only).
int shownPointSize(const QFont& font)
{
    return font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
}

} // namespace

std::unique_ptr<QFontDialog> createFontDialog(const FontDialogRequest& request)
{
    return std::make_unique<QFontDialog>(fontDialogStartFont(request), request.owner);
}

FontDialogResult fontDialogResult(const FontDialogRequest& request, const QFont& chosen)
{
    const LogFont read = logFontFromQFont(chosen);
    FontDialogResult result;
    result.accepted = true;
    result.logFont = request.logFont;
    result.logFont.weight = read.weight;
    result.logFont.italic = read.italic;
    result.logFont.underline = read.underline;
    result.logFont.strikeOut = read.strikeOut;
    result.logFont.faceName = read.faceName;
    result.color = request.color;

    // A size the user left as shown keeps its fraction (10.5 pt shows as 11 and stays 10.5).
    const QFont start = qFontFromLogFont(request.logFont, request.pointSizeTenths);
    const bool sizeKept = request.pointSizeTenths > 0 && chosen.pointSize() == shownPointSize(start);
    result.pointSizeTenths = sizeKept ? request.pointSizeTenths : pointSizeTenthsOf(chosen);
    result.logFont.height = result.pointSizeTenths > 0
                                ? -toInt32(result.pointSizeTenths / 10.0 * LogFontValue::pixelsPerPoint)
                                : read.height;
    return result;
}

std::unique_ptr<QInputDialog> createInputDialog(const InputPromptRequest& request)
{
    auto dialog = std::make_unique<QInputDialog>(request.owner);
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setWindowTitle(request.title);
    dialog->setLabelText(promptDisplayText(request.prompt));
    dialog->setTextValue(request.defaultAnswer);
    return dialog;
}

QString promptDisplayText(const QString& prompt)
{
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace sorvel
