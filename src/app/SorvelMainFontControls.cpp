// The handlers of the font list, the size box, the four style buttons and the three effect
// boxes. The canvas font and the measuring font are kept equal; each handler ends with one
// rendering.

#include "app/SorvelMain.h"

#include "platform/Conversions.h"
#include "text/FontSystem.h"
#include "platform/Failure.h"

#include <QComboBox>
#include <QToolButton>

namespace sorvel {

// The canvas draws the text and the measuring label sizes it: both take every font change.
void SorvelMain::changeTextFonts(const std::function<void(QFont&)>& change)
{
    QFont canvasFont = m_canvas.font();
    change(canvasFont);
    QFont measuringFont = m_measuringLabel.font();
    change(measuringFont);
    m_canvas.setFont(canvasFont);
    m_measuringLabel.setFont(measuringFont);
}

void SorvelMain::onStyleToggled([[maybe_unused]] Style style)
{
    // All four buttons are read afresh, whichever was toggled.
    changeTextFonts([this](QFont& font) {
        font.setBold(styleButton(Style::Bold)->isChecked());
        font.setItalic(styleButton(Style::Italic)->isChecked());
        font.setUnderline(styleButton(Style::Underline)->isChecked());
        font.setStrikeOut(styleButton(Style::Strikethrough)->isChecked());
    });
    renderPreview();
}

void SorvelMain::onShadowToggled()
{
    renderPreview();
}

void SorvelMain::onRainbowToggled()
{
    renderPreview();
}

// The frame box renders at once too, like the other two effects.
void SorvelMain::onFrameToggled()
{
    renderPreview();
}

void SorvelMain::onFontChosen()
{
    const QString family = m_fontList->currentText();
    changeTextFonts([&family](QFont& font) { font.setFamily(family); });
    renderPreview();
}

void SorvelMain::onSizeChosen()
{
    // A text that is not a number, or a size the font system refuses, leaves the previous size:
    // the user may be halfway through typing a size, and the image is rendered again either way.
    carryOnAfterFailure([this] {
        const double points = textToNumber(m_sizeBox->currentText());
        changeTextFonts([points](QFont& font) { setFontPointSize(font, points); });
    });
    renderPreview();
}

void SorvelMain::onSizeEdited()
{
    onSizeChosen();
}

} // namespace sorvel
