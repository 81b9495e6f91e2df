#include "dialogs/ColorFontDlg.h"

#include "dialogs/FileDlgMod.h"
#include "platform/Conversions.h"
#include "platform/Failure.h"
#include "platform/widgets/LogFont.h"

#include <QFont>

#include <cmath>

namespace sorvel {

namespace {

// Points to the font record's cell height in logical units: 1.33 exactly, not 4/3.
constexpr double heightPerPoint = 1.33;
constexpr std::int32_t fontDialogFlags = FontDialogOption::screenAndPrinterFonts | FontDialogOption::initToLogFont;

bool validIndex(int index) noexcept
{
    return index >= 0 && index < customColorCount;
}

} // namespace

ColorValue ColorFontDlg::CustColors(int index) const noexcept
{
    return validIndex(index) ? m_custColors[static_cast<std::size_t>(index)] : 0;
}

void ColorFontDlg::setCustColors(int index, ColorValue color) noexcept
{
    if (validIndex(index))
        m_custColors[static_cast<std::size_t>(index)] = color;
}

ColorValue ColorFontDlg::ShowColor(QWidget* owner)
{
    Cancel = false;
    ColorDialogRequest request;
    request.owner = owner;
    request.initialColor = (Flags & ColorDialogOption::rgbInit) ? Color : 0;
    request.flags = Flags;
    request.customColors = m_custColors;

    const ColorDialogResult result = m_dialogs.chooseColor(request);
    if (!result.accepted) {
        Cancel = true;
        return 0;
    }
    m_custColors = result.customColors;
    Color = result.color;
    return Color;
}

QString ColorFontDlg::ShowFont(QWidget* owner, const QFont* deviceFont)
{
    // A surface without a font (or one that cannot be read) gives an all-zero record.
    LogFont record;
    if (deviceFont)
        carryOnAfterFailure([&] { record = logFontFromQFont(*deviceFont); });
    Cancel = false;
    if (!FontName.isEmpty())
        record.faceName = fitFaceName(FontName);
    if (FontBold)
        record.weight = LogFontValue::weightBold;
    record.height = toInt32(std::fabs(static_cast<double>(FontSize)) * heightPerPoint);
    record.italic = FontItalic ? 1 : 0;
    record.underline = FontUnderline ? 1 : 0;
    record.strikeOut = FontStrikethrough ? 1 : 0;

    FontDialogRequest request;
    request.owner = owner;
    request.logFont = record;
    request.pointSizeTenths = toInt32(static_cast<double>(FontSize) * 10.0);
    request.color = Color;
    request.flags = fontDialogFlags;

    const FontDialogResult result = m_dialogs.chooseFont(request);
    if (!result.accepted) {
        Cancel = true;
        return {};
    }
    FontName = FileDlgMod::TrimNull(result.logFont.faceName);
    FontSize = static_cast<float>(result.pointSizeTenths * 0.1);
    FontBold = result.logFont.weight > LogFontValue::weightNormal;
    FontItalic = result.logFont.italic != 0;
    FontUnderline = result.logFont.underline != 0;
    FontStrikethrough = result.logFont.strikeOut != 0;
    Color = result.color;
    return FontName;
}

} // namespace sorvel
