// The controls of the main window, built from the table in WindowLayout.h, and the wiring of
// their signals to the handlers.

#include "app/SorvelMain.h"

#include "artwork/Artwork.h"
#include "app/CanvasView.h"
#include "app/ColorSwatch.h"
#include "app/MouseUpButton.h"
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

namespace sorvel {

namespace {

constexpr int scrollSmallChange = 5;
constexpr int scrollLargeChange = 20;
constexpr int scrollDefaultMax = 32767; // until the canvas decides the range
constexpr int viewportBorder = 2;       // the sunken border of Picture4
constexpr double uiFontPoints = 9.0;    // controls without a font of their own

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
    Label3.setFont(textFont);

    Check4 = makeCheckBox(this, layout::Check4);
    HScroll1 = place(new QScrollBar(Qt::Horizontal, this), layout::HScroll1);
    VScroll1 = place(new QScrollBar(Qt::Vertical, this), layout::VScroll1);
    for (QScrollBar* bar : {HScroll1, VScroll1}) {
        bar->setRange(0, scrollDefaultMax);
        bar->setSingleStep(scrollSmallChange);
        bar->setPageStep(scrollLargeChange);
        bar->setFocusPolicy(Qt::TabFocus);
    }

    Picture4 = place(new QFrame(this), layout::Picture4);
    Picture4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture4->setLineWidth(viewportBorder);
    Picture4->setAutoFillBackground(true);
    m_viewportClient = new QWidget(Picture4);
    m_viewportClient->setGeometry(Picture4->contentsRect());
    Picture1 = place(new CanvasView(m_canvas, m_viewportClient), layout::Picture1);

    Frame3 = makeFrame(this, layout::Frame3);
    Text1 = place(new QPlainTextEdit(Frame3), layout::Text1);
    Text1->setFont(textFont);
    Text1->setTabChangesFocus(true);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->document()->setDocumentMargin(1);

    Command3 = makePictureButton(this, layout::Command3, artwork::floppyDisk());
    Check3 = makeCheckBox(this, layout::Check3);
    Check2 = makeCheckBox(this, layout::Check2);
    Command1 = makePictureButton(this, layout::Command1, artwork::copySheets());

    Frame1 = makeFrame(this, layout::Frame1);
    Picture3 = place(new QWidget(Frame1), layout::Picture3);
    Picture3->installEventFilter(this);
    Command4 = place(new QPushButton(layout::Command4.caption.toString(), Picture3), layout::Command4);
    Command2 = place(new MouseUpButton(layout::Command2.caption.toString(), Picture3), layout::Command2);
    for (int i = 0; i < paletteSize; ++i) {
        auto* swatch = new ColorSwatch(Picture3);
        swatch->setGeometry(layout::toPixels(layout::swatchPlace(i)));
        Picture2.at(static_cast<std::size_t>(i)) = swatch;
    }

    Frame2 = makeFrame(this, layout::Frame2);
    Check1[0] = makeToggle(Frame2, layout::Check1[0], serifFont(12.0, false, false, false));
    Check1[0]->setIcon(artwork::boldLetter());
    Check1[1] = makeToggle(Frame2, layout::Check1[1], serifFont(9.75, true, false, false));
    Check1[1]->setIcon(artwork::italicLetter());
    Check1[2] = makeToggle(Frame2, layout::Check1[2], serifFont(9.75, false, true, false));
    Check1[2]->setText(layout::Check1[2].caption.toString());
    Check1[3] = makeToggle(Frame2, layout::Check1[3], serifFont(9.75, false, false, true));
    Check1[3]->setText(layout::Check1[3].caption.toString());

    Combo1 = place(new QComboBox(Frame2), layout::Combo1);
    Combo1->setFont(textFont);
    Combo1->setEditable(false);

    Combo2 = place(new QComboBox(Frame2), layout::Combo2);
    Combo2->setFont(textFont);
    // Leaving the edit field or pressing Enter in it makes the toolkit pick the entry matching
    // the typed text and report it as activated, as if chosen from the list. Those reports are
    // not choices: the flag is raised before the toolkit's own handling (slots run in the order
    // they were connected) and lowered after it.
    auto* sizeEdit = new QLineEdit;
    for (auto finished : {&QLineEdit::returnPressed, &QLineEdit::editingFinished})
        connect(sizeEdit, finished, this, [this] { m_sizeEditFinishing = true; });
    Combo2->setLineEdit(sizeEdit);
    for (auto finished : {&QLineEdit::returnPressed, &QLineEdit::editingFinished})
        connect(sizeEdit, finished, this, [this] { m_sizeEditFinishing = false; });
    Combo2->setInsertPolicy(QComboBox::NoInsert);
    Combo2->setCompleter(nullptr); // typing "1" must stay "1"
    Combo2->addItems(sizeEntries);
    Combo2->setCurrentIndex(Combo2->findText(layout::Combo2.caption.toString()));

    Label2 = makeLabel(Frame2, layout::Label2);
    Label4 = makeLabel(this, layout::Label4);

    // Focus order; Text1 has the focus when the window first shows.
    const std::array<QWidget*, 16> tabOrder{Text1,     Combo1,   Combo2,   Check1[0], Check1[1], Check1[2],
                                            Check1[3], Command4, Command2, Check2,    Check3,    Check4,
                                            Command1,  Command3, HScroll1, VScroll1};
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    Text1->setFocus();
}

void SorvelMain::connectHandlers()
{
    connect(Text1, &QPlainTextEdit::textChanged, this, &SorvelMain::text1Edited);

    for (int i = 0; i < static_cast<int>(Check1.size()); ++i)
        connect(Check1.at(static_cast<std::size_t>(i)), &QToolButton::clicked, this, [this, i] { Check1_Click(i); });
    connect(Check2, &QCheckBox::clicked, this, &SorvelMain::Check2_Click);
    connect(Check3, &QCheckBox::clicked, this, &SorvelMain::Check3_Click);
    connect(Check4, &QCheckBox::clicked, this, &SorvelMain::Check4_Click);

    // A pick from a list raises Click only; typing in the size box raises Change only (the
    // box's own text updates on a pick are programmatic and not edits).
    connect(Combo1, &QComboBox::activated, this, &SorvelMain::Combo1_Click);
    connect(Combo2, &QComboBox::activated, this, [this] {
        if (!m_sizeEditFinishing)
            Combo2_Click();
    });
    connect(Combo2->lineEdit(), &QLineEdit::textEdited, this, &SorvelMain::Combo2_Change);

    connectColorHandlers();
    connectOutputHandlers();

    m_canvas.setResizeListener([this] { Picture1_Resize(); });
    connect(HScroll1, &QScrollBar::valueChanged, this, &SorvelMain::HScroll1_Change);
    connect(HScroll1, &QScrollBar::sliderMoved, this, &SorvelMain::HScroll1_Scroll);
    connect(VScroll1, &QScrollBar::valueChanged, this, &SorvelMain::VScroll1_Change);
    connect(VScroll1, &QScrollBar::sliderMoved, this, &SorvelMain::VScroll1_Scroll);
}

} // namespace sorvel
