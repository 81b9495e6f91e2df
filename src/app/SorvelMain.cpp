#include "app/SorvelMain.h"
#include "dialogs/ColorFontDlg.h"
#include "dialogs/FileDlg.h"

#include "app/CanvasView.h"
#include "app/ColorSwatch.h"
#include "app/WindowLayout.h"
#include "platform/Failure.h"
#include "render/PaletteColor.h"
#include "render/RenderTextImage.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolTip>

#include <chrono>

namespace sorvel {

namespace {

// A wait for the preview longer than this shows the busy cursor.
constexpr std::chrono::milliseconds busyCursorDelay{100};

// The text box's text with every line break as CR LF.
QString textWithCrLf(const QPlainTextEdit& box)
{
    QString text = box.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

} // namespace

SorvelMain::SorvelMain(SorvelMainDependencies dependencies, QWidget* parent)
    : QWidget(parent), m_dependencies(std::move(dependencies))
{
    if (!m_dependencies.fontList)
        m_dependencies.fontList = std::make_unique<InstalledFontList>();
    m_previewRenderer = std::make_unique<PreviewRenderer>(m_dependencies.renderer ? m_dependencies.renderer
                                                                                  : RenderFunction(RenderTextImage));
    connect(m_previewRenderer.get(), &PreviewRenderer::pictureReady, this, &SorvelMain::onPictureReady,
            Qt::QueuedConnection);
    createControls();
    nameControlsForAssistiveTechnology();
    connectHandlers();
    // The bars follow the canvas from the start, not only from the first rendering on.
    onCanvasResized();
}

// The controls die after this body, and may still signal while they go (a focused edit field
// finishes its editing): nothing of theirs may reach the handlers any more. A rendering still
// running is let finish first; its picture is dropped.
SorvelMain::~SorvelMain()
{
    m_previewRenderer.reset();
    m_canvas.setResizeListener({});
    const QList<QObject*> controls = findChildren<QObject*>();
    for (QObject* control : controls)
        control->disconnect(this);
}

void SorvelMain::start()
{
    // Swatches without their colour still leave a window to type into.
    carryOnAfterFailure([this] { paintSwatches(); });
    show();
    setWindowTitle(layout::busyCaption.toString());
    fillFontList();
    // Without the default font nothing is selected, and the canvas keeps the font it was made
    // with: the first change of any control renders in it.
    carryOnAfterFailure([this] { selectFontEntry(defaultFontName); });
    m_fontList->setEnabled(true);
    setWindowTitle(layout::readyCaption.toString());
}

void SorvelMain::paintSwatches()
{
    for (int i = 0; i < paletteSize; ++i)
        m_swatches.at(static_cast<std::size_t>(i))->setColor(PaletteColor(i));
}

// Lists the installed fonts, leaving out the vertical-writing variants ("@" names). The count
// is taken whole, so a desktop with more than 32767 fonts still lists them all.
void SorvelMain::fillFontList()
{
    int count = 0;
    // A font list that cannot be read leaves the box empty; the canvas keeps its own font.
    if (!carryOnAfterFailure([&] { count = m_dependencies.fontList->count(); }))
        return;
    for (int i = 0; i < count; ++i) {
        // A name the font list cannot give is left out; the fonts after it are still listed.
        carryOnAfterFailure([&] {
            const QString name = m_dependencies.fontList->name(i);
            if (!name.startsWith(u'@'))
                addFontEntry(name);
        });
    }
}

// Keeps the entries sorted, case-insensitively; an equal name goes after those already there.
// Adding never selects an entry by itself.
void SorvelMain::addFontEntry(const QString& name)
{
    int low = 0;
    int high = m_fontList->count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (QString::compare(m_fontList->itemText(middle), name, Qt::CaseInsensitive) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    const int selected = m_fontList->currentIndex();
    m_fontList->insertItem(low, name);
    if (selected < 0)
        m_fontList->setCurrentIndex(-1);
}

// Selects the entry of that name; a change of selection counts as choosing that font. Fails
// with BadArgument when no entry has that name.
void SorvelMain::selectFontEntry(const QString& name)
{
    const int index = m_fontList->findText(name, Qt::MatchFixedString);
    if (index < 0)
        fail(FailureKind::BadArgument);
    if (index == m_fontList->currentIndex())
        return;
    m_fontList->setCurrentIndex(index);
    onFontChosen();
}

// Renders only when the text really changed (not for layout or input-method composing updates).
void SorvelMain::onTextChanged()
{
    const QString text = textWithCrLf(*m_textBox);
    if (text == m_lastText)
        return;
    m_lastText = text;
    renderPreview();
}

void SorvelMain::renderPreview()
{
    const TextImageSettings settings = currentSettings();
    // The canvas takes the rendering's font at once, as the renderer's first step does with the
    // canvas it draws on (a size the font system refuses keeps the font): later settings start
    // from it.
    carryOnAfterFailure([&] { m_canvas.setFont(canvasFontOf(settings)); });
    m_previewRenderer->schedule(settings);
    emit renderingScheduled();
}

void SorvelMain::waitForRendering()
{
    if (std::optional<PreviewPicture> picture = m_previewRenderer->takePicture(QDeadlineTimer(busyCursorDelay)))
        showPicture(std::move(*picture));
    if (!m_previewRenderer->isBusy())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (std::optional<PreviewPicture> picture = m_previewRenderer->takePicture(QDeadlineTimer::Forever))
        showPicture(std::move(*picture));
    QGuiApplication::restoreOverrideCursor();
}

TextImageSettings SorvelMain::currentSettings() const
{
    TextImageSettings settings;
    settings.Text = m_lastText; // kept up to date by every change of the text box
    const QFont& font = m_canvas.font();
    settings.FontName = font.family();
    settings.FontSize = static_cast<float>(fontPointSize(font));
    settings.FontBold = font.bold();
    settings.FontItalic = font.italic();
    settings.FontUnderline = font.underline();
    settings.FontStrikethrough = font.strikeOut();
    settings.SizeText = m_sizeBox->currentText();
    settings.ForeColor = m_canvas.foreColor();
    settings.BackColor = m_canvas.backColor();
    settings.backgroundPicture = m_backgroundPicture;
    settings.Shadow = m_shadowBox->isChecked();
    settings.Rainbow = m_rainbowBox->isChecked();
    settings.Framed = m_frameBox->isChecked();
    return settings;
}

void SorvelMain::closeEvent(QCloseEvent* event)
{
    event->accept();
    endProgram();
}

// Closing by any means ends the program at once, without a question. The settings that wait
// for a rendering are dropped: nothing of the close needs their picture (the clipboard image
// is the one copied).
void SorvelMain::endProgram()
{
    m_previewRenderer->stop();
    keepClipboardImage();
    if (m_dependencies.beforeProgramEnds)
        m_dependencies.beforeProgramEnds();
    if (m_dependencies.endProgram)
        m_dependencies.endProgram();
}

bool SorvelMain::eventFilter(QObject* watched, QEvent* event)
{
    // The swatch panel shows no tooltip of its own between the swatches and the two buttons,
    // which have theirs.
    if (watched == m_swatchPanel && event->type() == QEvent::ToolTip) {
        QToolTip::hideText();
        return true;
    }
    if (watched == m_textBox && copiesPictureFromTextBox(*event)) {
        m_copyButton->click();
        return true;
    }
    // Controls that take dragged text; the swatch panel is watched while they are still made.
    const bool takesText = watched == m_textBox || (m_textBox && watched == m_textBox->viewport()) ||
                           (m_sizeBox && watched == m_sizeBox->lineEdit());
    if (takesText && takePictureDrag(*event))
        return true;
    return QWidget::eventFilter(watched, event);
}

} // namespace sorvel
