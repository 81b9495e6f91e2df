#pragma once
// The colour dialog and the font dialog behind two calls, with a row of 16 custom colours that
// the colour dialog shows and edits. The caller sets the input properties, calls ShowColor or
// ShowFont, then reads Cancel; only when Cancel is false does it read the results.
// Properties and custom colours keep their values for the life of the object.

#include "platform/ColorValue.h"
#include "platform/widgets/DialogService.h"

#include <QString>

#include <cstdint>

class QFont;
class QWidget;

namespace sorvel {

class ColorFontDlg {
public:
    explicit ColorFontDlg(DialogService& dialogs) noexcept : m_dialogs(dialogs) { }

    // Result of the last call: true when the dialog was closed without a choice or failed.
    bool Cancel = false;
    // ColorDialogOption bits for the colour dialog: rgbInit starts it on Color (without it the
    // dialog starts on black); fullOpen is passed on (Qt's dialog always shows its editor).
    std::int32_t Flags = 0;
    // In: the colour handed to both dialogs. Out: the colour chosen.
    ColorValue Color = 0;
    // In and out of the font dialog. An empty FontName keeps the drawing surface's face.
    QString FontName;
    float FontSize = 0.0f; // points
    bool FontBold = false;
    bool FontItalic = false;
    bool FontStrikethrough = false;
    bool FontUnderline = false;

    // Custom colour index (0..15); any other index reads 0.
    ColorValue CustColors(int index) const noexcept;
    // Stores color at index (0..15); any other index changes nothing and is no error.
    void setCustColors(int index, ColorValue color) noexcept;

    // The chosen face name (also in FontName), or "" when cancelled (no property changes).
    // deviceFont is the font a drawing surface currently uses, or nullptr: it gives every
    // attribute the properties do not set. Fails with OutOfRange before any dialog when the size's
    // height (x 1.33) or tenths (x 10) do not fit 32 bits; Cancel is already false then.
    QString ShowFont(QWidget* owner, const QFont* deviceFont);

    // The chosen colour (also in Color), or 0 when cancelled (Color unchanged). The custom
    // colours go into the dialog and, when it is confirmed, come back as the user left them.
    ColorValue ShowColor(QWidget* owner);

private:
    DialogService& m_dialogs;
    CustomColors m_custColors{};
};

} // namespace sorvel
