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
#include <QPlainTextEdit>
#include <QToolTip>

namespace sorvel {

namespace {

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
    createControls();
    connectHandlers();
    // The bars follow the canvas from the start, not only from the first rendering on.
    Picture1_Resize();
}

// The controls die after this body, and may still signal while they go (a focused edit field
// finishes its editing): nothing of theirs may reach the handlers any more.
SorvelMain::~SorvelMain()
{
    m_canvas.setResizeListener({});
    const QList<QObject*> controls = findChildren<QObject*>();
    for (QObject* control : controls)
        control->disconnect(this);
}

void SorvelMain::Form_Load()
{
    for (int i = 0; i < paletteSize; ++i)
        carryOnAfterFailure([&] { Picture2.at(static_cast<std::size_t>(i))->setColor(PaletteColor(i)); });
    carryOnAfterFailure([&] { show(); });
    carryOnAfterFailure([&] { setWindowTitle(layout::busyCaption.toString()); });
    // The count is taken whole, so a desktop with more than 32767 fonts still lists them all.
    int last = -1;
    carryOnAfterFailure([&] { last = m_dependencies.fontList->count() - 1; });
    for (int i = 0; i <= last; ++i) {
        carryOnAfterFailure([&] {
            const QString name = m_dependencies.fontList->name(i);
            if (!name.startsWith(u'@'))
                addFontEntry(name);
        });
    }
    carryOnAfterFailure([&] { selectFontEntry(defaultFontName); });
    carryOnAfterFailure([&] { Combo1->setEnabled(true); });
    carryOnAfterFailure([&] { setWindowTitle(layout::readyCaption.toString()); });
}

// Keeps the entries sorted, case-insensitively; an equal name goes after those already there.
// Adding never selects an entry by itself.
void SorvelMain::addFontEntry(const QString& name)
{
    int low = 0;
    int high = Combo1->count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (QString::compare(Combo1->itemText(middle), name, Qt::CaseInsensitive) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    const int selected = Combo1->currentIndex();
    Combo1->insertItem(low, name);
    if (selected < 0)
        Combo1->setCurrentIndex(-1);
}

// Setting the font list's text: selects the entry of that name, and a change of selection
// raises Combo1_Click. Fails with BadArgument when no entry has that name.
void SorvelMain::selectFontEntry(const QString& name)
{
    const int index = Combo1->findText(name, Qt::MatchFixedString);
    if (index < 0)
        fail(FailureKind::BadArgument);
    if (index == Combo1->currentIndex())
        return;
    Combo1->setCurrentIndex(index);
    Combo1_Click();
}

// Text1 reports a change only when its text really changed (not for layout or input-method
// composing updates).
void SorvelMain::text1Edited()
{
    const QString text = textWithCrLf(*Text1);
    if (text == m_lastText)
        return;
    m_lastText = text;
    Text1_Change();
}

void SorvelMain::Text1_Change()
{
    RenderTextImage();
}

void SorvelMain::RenderTextImage()
{
    if (m_rendering)
        return; // never entered again while it runs
    m_rendering = true;
    const TextImageSettings settings = currentSettings();
    sorvel::RenderTextImage(settings, {m_canvas, Label3, Picture5});
    m_rendering = false;
    followCanvasSizes();
    Picture1->update();
    emit rendered(settings);
}

TextImageSettings SorvelMain::currentSettings() const
{
    TextImageSettings settings;
    settings.Text = m_lastText; // kept up to date by every change of Text1
    const QFont& font = m_canvas.font();
    settings.FontName = font.family();
    settings.FontSize = static_cast<float>(fontPointSize(font));
    settings.FontBold = font.bold();
    settings.FontItalic = font.italic();
    settings.FontUnderline = font.underline();
    settings.FontStrikethrough = font.strikeOut();
    settings.SizeText = Combo2->currentText();
    settings.ForeColor = m_canvas.foreColor();
    settings.BackColor = m_canvas.backColor();
    settings.backgroundPicture = strBackImage;
    settings.Shadow = Check2->isChecked();
    settings.Rainbow = Check3->isChecked();
    settings.Framed = Check4->isChecked();
    return settings;
}

void SorvelMain::closeEvent(QCloseEvent* event)
{
    event->accept();
    Form_QueryUnload();
}

// Closing by any means ends the program at once, without a question.
void SorvelMain::Form_QueryUnload()
{
    keepClipboardImage();
    if (m_dependencies.beforeProgramEnds)
        m_dependencies.beforeProgramEnds();
    if (m_dependencies.endProgram)
        m_dependencies.endProgram();
}

bool SorvelMain::eventFilter(QObject* watched, QEvent* event)
{
    // The swatch panel shows no tooltip of its own and passes none up from its swatches: only
    // the frame around it and the two buttons in it have one.
    if (watched == Picture3 && event->type() == QEvent::ToolTip) {
        QToolTip::hideText();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace sorvel
