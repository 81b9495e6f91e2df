// The controls of the main window, built from the table in WindowLayout.h, and the wiring of
// their signals to the handlers.

#include "app/SorvelMain.h"

#include "artwork/Artwork.h"
#include "app/CanvasView.h"
#include "app/ColorSwatch.h"
#include "app/DigitsFont.h"
#include "app/ReleaseReportingButton.h"
#include "app/WindowLayout.h"
#include "text/FontSystem.h"
#include "render/PaletteColor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include <vector>

namespace sorvel {

namespace {

constexpr int scrollSmallChange = 5;
constexpr int scrollLargeChange = 20;
constexpr int scrollDefaultMax = 32767; // until the canvas decides the range
constexpr int viewportBorder = 2;       // the viewport's sunken border
constexpr double uiFontPoints = 9.0;    // controls without a font of their own
constexpr int sizeBoxDigits = 4;        // "1000" shows whole in the size box
constexpr double smallestSizeBoxPoints = 6.0;

const QStringList sizeEntries = {
    QStringLiteral("9"),  QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("14"),
    QStringLiteral("16"), QStringLiteral("18"), QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24"),
    QStringLiteral("26"), QStringLiteral("28"), QStringLiteral("36"), QStringLiteral("48"), QStringLiteral("72"),
};

template <class Widget> Widget* place(Widget* widget, const layout::Control& control)
{
    widget->setGeometry(layout::toPixels(control.place));
    if (!control.toolTip.isEmpty())
        widget->setToolTip(control.toolTip.toString());
    return widget;
}

// The style toggles' captions are in "MS Serif", which the font system maps to a serif face.
QFont serifFont(double points, bool italic, bool underline, bool strikeOut)
{
    QFont font(QStringLiteral("MS Serif"));
    font.setPointSizeF(points);
    font.setBold(true);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    return font;
}

QToolButton* makeToggle(QWidget* parent, const layout::Control& control, const QFont& font)
{
    auto* toggle = place(new QToolButton(parent), control);
    toggle->setCheckable(true);
    toggle->setFont(font);
    toggle->setIconSize(QSize(16, 16));
    return toggle;
}

QPushButton* makePictureButton(QWidget* parent, const layout::Control& control, const QPixmap& picture)
{
    auto* button = place(new QPushButton(parent), control);
    button->setIcon(picture);
    button->setIconSize(QSize(16, 16));
    return button;
}

QGroupBox* makeFrame(QWidget* parent, const layout::Control& control)
{
    return place(new QGroupBox(control.caption.toString(), parent), control);
}

QLabel* makeLabel(QWidget* parent, const layout::Control& control)
{
    auto* label = place(new QLabel(control.caption.toString(), parent), control);
    label->adjustSize(); // sizes itself to its caption
    return label;
}

QCheckBox* makeCheckBox(QWidget* parent, const layout::Control& control)
{
    return place(new QCheckBox(control.caption.toString(), parent), control);
}

} // namespace

void SorvelMain::createControls()
{
    installFontSubstitutions();
    const QFont textFont = makeFont(defaultFontName, designFontPoints);

    setWindowTitle(layout::readyCaption.toString());
    setWindowIcon(artwork::windowIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(layout::toPixels(layout::clientArea).size());
    setFont(makeFont(defaultFontName, uiFontPoints));

    // The canvas starts in the default font; the measuring label holds the same font.
    m_canvas.setFont(textFont);
    m_measuringLabel.setFont(textFont);

    m_frameBox = makeCheckBox(this, layout::frameBox);
    m_horizontalBar = place(new QScrollBar(Qt::Horizontal, this), layout::horizontalBar);
    m_verticalBar = place(new QScrollBar(Qt::Vertical, this), layout::verticalBar);
    for (QScrollBar* bar : {m_horizontalBar, m_verticalBar}) {
        bar->setRange(0, scrollDefaultMax);
        bar->setSingleStep(scrollSmallChange);
        bar->setPageStep(scrollLargeChange);
        bar->setFocusPolicy(Qt::TabFocus);
    }

    m_viewport = place(new QFrame(this), layout::viewport);
    m_viewport->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_viewport->setLineWidth(viewportBorder);
    m_viewport->setAutoFillBackground(true);
    m_viewportClient = new QWidget(m_viewport);
    m_viewportClient->setGeometry(m_viewport->contentsRect());
    m_preview = place(new CanvasView(m_canvas, m_viewportClient), layout::preview);

    m_textFrame = makeFrame(this, layout::textFrame);
    m_textBox = place(new QPlainTextEdit(m_textFrame), layout::textBox);
    m_textBox->setFont(textFont);
    m_textBox->setTabChangesFocus(true);
    m_textBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textBox->document()->setDocumentMargin(1);

    m_saveButton = makePictureButton(this, layout::saveButton, artwork::floppyDisk());
    m_rainbowBox = makeCheckBox(this, layout::rainbowBox);
    m_shadowBox = makeCheckBox(this, layout::shadowBox);
    m_copyButton = makePictureButton(this, layout::copyButton, artwork::copySheets());

    m_colorFrame = makeFrame(this, layout::colorFrame);
    m_swatchPanel = place(new QWidget(m_colorFrame), layout::swatchPanel);
    m_swatchPanel->installEventFilter(this);
    m_backgroundButton =
        place(new QPushButton(layout::backgroundButton.caption.toString(), m_swatchPanel), layout::backgroundButton);
    m_otherColorButton = place(new ReleaseReportingButton(layout::otherColorButton.caption.toString(), m_swatchPanel),
                               layout::otherColorButton);
    for (int i = 0; i < paletteSize; ++i) {
        auto* swatch = new ColorSwatch(m_swatchPanel);
        swatch->setGeometry(layout::toPixels(layout::swatchPlace(i)));
        swatch->setToolTip(layout::swatchToolTip(i));
        swatch->setFocusPolicy(Qt::TabFocus); // until the Tab order is set (see placePaletteStop)
        m_swatches.at(static_cast<std::size_t>(i)) = swatch;
    }

    m_fontFrame = makeFrame(this, layout::fontFrame);
    // Bold and italic show a picture; underline and strikethrough their caption in their style.
    const std::array<QFont, 4> styleFonts{serifFont(12.0, false, false, false), serifFont(9.75, true, false, false),
                                          serifFont(9.75, false, true, false), serifFont(9.75, false, false, true)};
    for (std::size_t i = 0; i < m_styleButtons.size(); ++i)
        m_styleButtons.at(i) = makeToggle(m_fontFrame, layout::styleButtons.at(i), styleFonts.at(i));
    styleButton(Style::Bold)->setIcon(artwork::boldLetter());
    styleButton(Style::Italic)->setIcon(artwork::italicLetter());
    for (const Style style : {Style::Underline, Style::Strikethrough})
        styleButton(style)->setText(layout::styleButtons.at(static_cast<std::size_t>(style)).caption.toString());

    m_fontList = place(new QComboBox(m_fontFrame), layout::fontList);
    m_fontList->setFont(textFont);
    m_fontList->setEditable(false);

    m_sizeBox = place(new QComboBox(m_fontFrame), layout::sizeBox);
    m_sizeBox->setFont(textFont);
    // Leaving the edit field or pressing Enter in it makes the toolkit pick the entry matching
    // the typed text and report it as activated, as if chosen from the list. Those reports are
    // not choices: the flag is raised before the toolkit's own handling (slots run in the order
    // they were connected) and lowered after it.
    auto* sizeEdit = new QLineEdit;
    for (auto finished : {&QLineEdit::returnPressed, &QLineEdit::editingFinished})
        connect(sizeEdit, finished, this, [this] { m_sizeEditFinishing = true; });
    m_sizeBox->setLineEdit(sizeEdit);
    for (auto finished : {&QLineEdit::returnPressed, &QLineEdit::editingFinished})
        connect(sizeEdit, finished, this, [this] { m_sizeEditFinishing = false; });
    m_sizeBox->setInsertPolicy(QComboBox::NoInsert);
    m_sizeBox->setCompleter(nullptr); // typing "1" must stay "1"
    m_sizeBox->addItems(sizeEntries);
    m_sizeBox->setCurrentIndex(m_sizeBox->findText(layout::sizeBox.caption.toString()));
    // Sizes up to four digits ("1000") show whole in the box's design width: the text face, as
    // large as that allows, with the frame and arrow of the font list beside it. Of the two
    // pixels an edit field keeps free on either side, the digits take one.
    sizeEdit->setTextMargins(-1, 0, -1, 0);
    m_sizeBox->setFont(fontFittingDigits(textFont, editFieldTextWidth(*m_sizeBox), sizeBoxDigits,
                                         makeFont(defaultFontName, smallestSizeBoxPoints).pixelSize()));

    m_sizeLabel = makeLabel(m_fontFrame, layout::sizeLabel);
    m_previewLabel = makeLabel(this, layout::previewLabel);

    // Focus order; the text box has the focus when the window first shows. The swatches sit
    // between the style buttons and the colour frame's buttons, and Tab stops at only one of
    // them (see placePaletteStop).
    std::vector<QWidget*> tabOrder{m_textBox,
                                   m_fontList,
                                   m_sizeBox,
                                   styleButton(Style::Bold),
                                   styleButton(Style::Italic),
                                   styleButton(Style::Underline),
                                   styleButton(Style::Strikethrough)};
    tabOrder.insert(tabOrder.end(), m_swatches.begin(), m_swatches.end());
    tabOrder.insert(tabOrder.end(), {m_backgroundButton, m_otherColorButton, m_shadowBox, m_rainbowBox, m_frameBox,
                                     m_copyButton, m_saveButton, m_horizontalBar, m_verticalBar});
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    placePaletteStop(0);
    m_textBox->setFocus();
}

// Every control a user can reach is named in Japanese for screen readers: by its caption, or
// where it has none (or only a letter or a word too short to tell what it does: "U", "S",
// "背景") by its tooltip; the text box by its frame's caption. On Linux Qt announces
// a combo box by its value and names it by the labels related to it: the font frame's caption
// for both boxes, and the size label, made the size box's buddy (its caption has no shortcut
// letter, so the buddy adds no shortcut).
void SorvelMain::nameControlsForAssistiveTechnology()
{
    m_previewLabel->setAccessibleName(layout::previewLabel.caption.toString());
    m_preview->setAccessibleName(layout::previewName.toString());
    m_textFrame->setAccessibleName(layout::textFrame.caption.toString());
    m_textBox->setAccessibleName(layout::textFrame.caption.toString());
    m_fontFrame->setAccessibleName(layout::fontFrame.caption.toString());
    m_fontList->setAccessibleName(layout::fontList.toolTip.toString());
    m_sizeLabel->setAccessibleName(layout::sizeLabel.caption.toString());
    m_sizeBox->setAccessibleName(layout::sizeBox.toolTip.toString());
    m_sizeLabel->setBuddy(m_sizeBox);
    for (std::size_t i = 0; i < m_styleButtons.size(); ++i)
        m_styleButtons.at(i)->setAccessibleName(layout::styleButtons.at(i).toolTip.toString());
    m_colorFrame->setAccessibleName(layout::colorFrame.caption.toString());
    for (std::size_t i = 0; i < m_swatches.size(); ++i)
        m_swatches.at(i)->setAccessibleName(layout::swatchNamePattern.toString().arg(i + 1));
    m_backgroundButton->setAccessibleName(layout::backgroundButton.toolTip.toString());
    m_otherColorButton->setAccessibleName(layout::otherColorButton.caption.toString());
    m_shadowBox->setAccessibleName(layout::shadowBox.caption.toString());
    m_rainbowBox->setAccessibleName(layout::rainbowBox.caption.toString());
    m_frameBox->setAccessibleName(layout::frameBox.caption.toString());
    m_copyButton->setAccessibleName(layout::copyButton.toolTip.toString());
    m_saveButton->setAccessibleName(layout::saveButton.toolTip.toString());
}

void SorvelMain::connectHandlers()
{
    connect(m_textBox, &QPlainTextEdit::textChanged, this, &SorvelMain::onTextChanged);

    for (const Style style : {Style::Bold, Style::Italic, Style::Underline, Style::Strikethrough})
        connect(styleButton(style), &QToolButton::clicked, this, [this, style] { onStyleToggled(style); });
    connect(m_shadowBox, &QCheckBox::clicked, this, &SorvelMain::onShadowToggled);
    connect(m_rainbowBox, &QCheckBox::clicked, this, &SorvelMain::onRainbowToggled);
    connect(m_frameBox, &QCheckBox::clicked, this, &SorvelMain::onFrameToggled);

    // A pick from a list counts as a choice; typing in the size box as an edit (the box's own
    // text updates on a pick are programmatic and not edits).
    connect(m_fontList, &QComboBox::activated, this, &SorvelMain::onFontChosen);
    connect(m_sizeBox, &QComboBox::activated, this, [this] {
        if (!m_sizeEditFinishing)
            onSizeChosen();
    });
    connect(m_sizeBox->lineEdit(), &QLineEdit::textEdited, this, &SorvelMain::onSizeEdited);

    connectColorHandlers();
    connectOutputHandlers();
    connectShortcuts();

    m_canvas.setResizeListener([this] { onCanvasResized(); });
    // The preview follows the thumb both when the value changes and while the thumb is dragged.
    connect(m_horizontalBar, &QScrollBar::valueChanged, this, &SorvelMain::onHorizontalScroll);
    connect(m_horizontalBar, &QScrollBar::sliderMoved, this, &SorvelMain::onHorizontalScroll);
    connect(m_verticalBar, &QScrollBar::valueChanged, this, &SorvelMain::onVerticalScroll);
    connect(m_verticalBar, &QScrollBar::sliderMoved, this, &SorvelMain::onVerticalScroll);
}

} // namespace sorvel
