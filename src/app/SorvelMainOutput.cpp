// Copy, save and background picture. Saving and choosing a background both begin with the
// whole copy action, so the clipboard always receives the image of the settings at the click.
#include "app/SorvelMain.h"
#include "app/CanvasView.h"
#include "dialogs/FileDlg.h"
#include "output/BackgroundChoice.h"
#include "output/CopyImage.h"
#include "output/SaveDialog.h"
#include "output/SaveImage.h"
#include "output/SaveTexts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace sorvel {

namespace {

const QString copyFailedTitle = QStringLiteral("クリップボードにコピー");

} // namespace

void SorvelMain::connectOutputHandlers()
{
    connect(m_copyButton, &QPushButton::clicked, this, &SorvelMain::onCopyClicked);
    connect(m_saveButton, &QPushButton::clicked, this, &SorvelMain::onSaveClicked);
    connect(m_backgroundButton, &QPushButton::clicked, this, &SorvelMain::onBackgroundClicked);
    connect(m_preview, &CanvasView::dragStarted, this, &SorvelMain::onPreviewDragged);
    setAcceptDrops(true);
    m_textBox->viewport()->installEventFilter(this);
    m_sizeBox->lineEdit()->installEventFilter(this);
}

FileDlg& SorvelMain::fileDlg()
{
    if (!m_fileDlg)
        m_fileDlg = std::make_unique<FileDlg>(*m_dependencies.dialogs);
    return *m_fileDlg;
}

// Renders and waits for the picture, empties the clipboard and places the whole canvas image
// on it.
CopyResult SorvelMain::copyToClipboard()
{
    renderPreview();
    waitForRendering();
    const CopyResult result = copyImageToClipboard(*m_dependencies.clipboard, m_canvas.image());
    m_copiedImage = result.ok() ? m_canvas.image() : QImage();
    return result;
}

// Pressed directly, a copy that did not reach the clipboard is reported; an empty canvas has
// nothing to copy and leaves the clipboard empty.
void SorvelMain::onCopyClicked()
{
    const CopyResult result = copyToClipboard();
    if (!result.ok() && result.status != CopyResult::Status::NoImage)
        m_dependencies.messageBox->showError(this, copyFailedTitle, result.message());
}

void SorvelMain::onSaveClicked()
{
    copyToClipboard(); // a failed copy does not stop the save
    const std::optional<QString> path = chooseSavePath(fileDlg(), this, currentSettings().Text);
    if (!path)
        return;
    const auto askQuality = [this] {
        return m_dependencies.dialogs->inputText({this, jpegPromptTitle, jpegPromptText, jpegPromptDefault});
    };
    const SaveOutcome outcome =
        saveImageToFile(m_canvas.image(), m_canvas.scaleWidth(), m_canvas.scaleHeight(), *path, askQuality);
    if (outcome.failed())
        m_dependencies.messageBox->showError(this, saveFailedTitle, outcome.message);
}

void SorvelMain::onBackgroundClicked()
{
    copyToClipboard(); // a failed copy does not stop the choice
    m_backgroundPicture = chooseBackgroundPicture(fileDlg(), this);
    // A cancelled choice removes the picture from the next rendering; the preview keeps it
    // until then.
    if (!m_backgroundPicture.isEmpty())
        renderPreview();
}

// At close: while the clipboard still holds this program's image, hand it to a process that
// outlives this one.
void SorvelMain::keepClipboardImage()
{
    if (m_copiedImage.isNull() || !m_dependencies.keepClipboardImage || !m_dependencies.clipboard->ownsContent())
        return;
    m_dependencies.keepClipboardImage(m_copiedImage);
}

} // namespace sorvel
