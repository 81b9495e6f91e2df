#include "platform/ColorValue.h"

#include <QGuiApplication>
#include <QPalette>

namespace sorvel {

namespace {

QPalette::ColorRole roleOfSystemIndex(unsigned index)
{
    switch (index) {
    case 5:
        return QPalette::Base; // window background
    case 8:
        return QPalette::Text; // window text
    case 15:
        return QPalette::Button; // button face
    case 18:
        return QPalette::ButtonText; // button text
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 4:
        return QPalette::Window; // menu bar / dialog background
    case 7:
        return QPalette::WindowText; // menu text
    case 16:
        return QPalette::Dark; // button shadow
    case 20:
        return QPalette::Light; // button highlight
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    default:
        return QPalette::WindowText;
    }
}

} // namespace

QColor toQColor(ColorValue value)
{
    if (isSystemColor(value)) {
        const QPalette palette = QGuiApplication::instance() ? QGuiApplication::palette() : QPalette();
        QColor color = palette.color(QPalette::Active, roleOfSystemIndex(value & 0xFFu));
        color.setAlpha(255);
        return color;
    }
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

ColorValue fromQColor(const QColor& color) noexcept
{
    const QColor rgb = color.toRgb();
    return rgbColor(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace sorvel
