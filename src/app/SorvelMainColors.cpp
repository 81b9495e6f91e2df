// The colour frame: palette swatches (left button text colour, other buttons background) and
// the colour dialog behind "その他" (left button text colour, right button background). The
// dialog's colour reaches the image at the next rendering.
#include "app/ColorRouting.h"
#include "app/ColorSwatch.h"
#include "app/ReleaseReportingButton.h"
#include "app/SorvelMain.h"
#include "dialogs/ColorFontDlg.h"
#include "render/PaletteColor.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace sorvel {

void SorvelMain::connectColorHandlers()
{
    for (int i = 0; i < static_cast<int>(m_swatches.size()); ++i)
        connect(m_swatches.at(static_cast<std::size_t>(i)), &ColorSwatch::mouseReleased, this,
                [this, i](Qt::MouseButton button) { onSwatchReleased(i, button); });
    connect(m_otherColorButton, &QPushButton::clicked, this, &SorvelMain::onOtherColorClicked);
    connect(m_otherColorButton, &ReleaseReportingButton::mouseReleased, this,
            [this](Qt::MouseButton button) { onOtherColorReleased(button); });
}

ColorFontDlg& SorvelMain::colorFontDlg()
{
    if (!m_colorFontDlg)
        m_colorFontDlg = std::make_unique<ColorFontDlg>(*m_dependencies.dialogs);
    return *m_colorFontDlg;
}

void SorvelMain::onSwatchReleased(int index, Qt::MouseButton button)
{
    chooseSwatchColor(index, swatchTarget(button));
}

// By mouse or by keyboard, a swatch sets one colour and renders.
void SorvelMain::chooseSwatchColor(int index, ColorTarget target)
{
    const ColorValue color = PaletteColor(index);
    if (target == ColorTarget::Text)
        m_canvas.setForeColor(color);
    else
        m_canvas.setBackColor(color);
    renderPreview();
}

// A click (the left button, or Space on the focused button) chooses the text colour.
void SorvelMain::onOtherColorClicked()
{
    ColorFontDlg& dialog = colorFontDlg();
    dialog.ShowColor(m_textBox);
    if (dialog.Cancel)
        return;
    m_canvas.setForeColor(dialog.Color);
}

// The right button chooses the background colour; the left button's release is a click.
void SorvelMain::onOtherColorReleased(Qt::MouseButton button)
{
    ColorFontDlg& dialog = colorFontDlg();
    if (button != Qt::RightButton)
        return;
    dialog.ShowColor(m_textBox);
    if (dialog.Cancel)
        return;
    m_canvas.setBackColor(dialog.Color);
}

} // namespace sorvel
