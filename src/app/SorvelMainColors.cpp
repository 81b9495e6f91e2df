// The colour frame: palette swatches (left button text colour, other buttons background) and
// the colour dialog behind "その他" (left button text colour, right button background). The
// dialog's colour reaches the image at the next rendering.
#include "app/ColorRouting.h"
#include "app/ColorSwatch.h"
#include "app/MouseUpButton.h"
#include "app/SorvelMain.h"
#include "dialogs/ColorFontDlg.h"
#include "render/PaletteColor.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace sorvel {

void SorvelMain::connectColorHandlers()
{
    for (int i = 0; i < static_cast<int>(Picture2.size()); ++i)
        connect(Picture2.at(static_cast<std::size_t>(i)), &ColorSwatch::mouseUp, this,
                [this, i](Qt::MouseButton button) { Picture2_MouseUp(i, static_cast<int>(button)); });
    connect(Command2, &QPushButton::clicked, this, &SorvelMain::Command2_Click);
    connect(Command2, &MouseUpButton::mouseUp, this,
            [this](Qt::MouseButton button) { Command2_MouseUp(static_cast<int>(button)); });
}

ColorFontDlg& SorvelMain::colorFontDlg()
{
    if (!m_colorFontDlg)
        m_colorFontDlg = std::make_unique<ColorFontDlg>(*m_dependencies.dialogs);
    return *m_colorFontDlg;
}

void SorvelMain::Picture2_MouseUp(int Index, int Button)
{
    const ColorValue color = PaletteColor(Index);
    if (swatchTarget(Button) == ColorTarget::Text)
        m_canvas.setForeColor(color);
    else
        m_canvas.setBackColor(color);
    RenderTextImage();
}

void SorvelMain::Command2_Click()
{
    ColorFontDlg& dialog = colorFontDlg();
    dialog.ShowColor(Text1);
    if (dialog.Cancel)
        return;
    m_canvas.setForeColor(dialog.Color);
}

void SorvelMain::Command2_MouseUp(int Button)
{
    ColorFontDlg& dialog = colorFontDlg();
    if (Button != rightButton)
        return; // the left button is Command2_Click's
    dialog.ShowColor(Text1);
    if (dialog.Cancel)
        return;
    m_canvas.setBackColor(dialog.Color);
}

} // namespace sorvel
