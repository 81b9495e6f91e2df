// The handlers of the font list, the size box, the four style toggles and the three effect
// boxes. The canvas font and the measuring font are kept equal; each handler ends with one
// rendering.

#include "app/SorvelMain.h"

#include "platform/Conversions.h"
#include "text/FontSystem.h"
#include "platform/Failure.h"

#include <QComboBox>
#include <QToolButton>

namespace sorvel {

void SorvelMain::Check1_Click([[maybe_unused]] int Index)
{
    // All four toggles are read afresh, whichever was clicked.
    const auto withStyles = [this](QFont font) {
        font.setBold(Check1[0]->isChecked());
        font.setItalic(Check1[1]->isChecked());
        font.setUnderline(Check1[2]->isChecked());
        font.setStrikeOut(Check1[3]->isChecked());
        return font;
    };
    m_canvas.setFont(withStyles(m_canvas.font()));
    Label3.setFont(withStyles(Label3.font()));
    RenderTextImage();
}

void SorvelMain::Check2_Click()
{
    RenderTextImage();
}

void SorvelMain::Check3_Click()
{
    RenderTextImage();
}

// The frame box renders at once too, like the other two effects.
void SorvelMain::Check4_Click()
{
    RenderTextImage();
}

void SorvelMain::Combo1_Click()
{
    carryOnAfterFailure([this] {
        QFont font = m_canvas.font();
        font.setFamily(Combo1->currentText());
        m_canvas.setFont(font);
    });
    carryOnAfterFailure([this] {
        QFont font = Label3.font();
        font.setFamily(Combo1->currentText());
        Label3.setFont(font);
    });
    carryOnAfterFailure([this] { RenderTextImage(); });
}

// A text that is not a number, or a size the font system refuses, leaves the previous size;
// the image is rendered again either way.
void SorvelMain::Combo2_Click()
{
    carryOnAfterFailure([this] {
        QFont font = m_canvas.font();
        setFontPointSize(font, textToNumber(Combo2->currentText()));
        m_canvas.setFont(font);
    });
    carryOnAfterFailure([this] {
        QFont font = Label3.font();
        setFontPointSize(font, textToNumber(Combo2->currentText()));
        Label3.setFont(font);
    });
    carryOnAfterFailure([this] { RenderTextImage(); });
}

void SorvelMain::Combo2_Change()
{
    Combo2_Click();
}

} // namespace sorvel
