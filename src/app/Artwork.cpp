#include "app/Artwork.h"

#include "render/PaletteColor.h"

#include <QPainter>
#include <QPolygon>

#include <array>
#include <string_view>

namespace sorvel::artwork {

namespace {

using PixelMap = std::array<std::string_view, 16>;

// One letter a colour: '.' is the mask colour, the others are palette entries.
QRgb colorOf(char code)
{
    switch (code) {
    case 'k': return toQColor(PaletteColor(0)).rgb();    // black
    case 'b': return toQColor(PaletteColor(1)).rgb();    // blue
    case 'l': return toQColor(PaletteColor(7)).rgb();    // light grey
    case 'g': return toQColor(PaletteColor(8)).rgb();    // grey
    case 'r': return toQColor(PaletteColor(12)).rgb();   // light red
    case 'w': return toQColor(PaletteColor(15)).rgb();   // white
    default: return maskColor;
    }
}

QPixmap pictureOf(const PixelMap& rows)
{
    QImage picture(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
        const std::string_view row = rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < 16; ++x)
            picture.setPixel(x, y, colorOf(x < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(x)] : '.'));
    }
    return QPixmap::fromImage(masked(picture));
}

// The icon on a 32-unit grid: a white sheet with a bold red A and its grey shadow, above a
// strip of palette colours. Drawn without antialiasing so that every pixel is one of the
// 16 palette colours or the mask colour.
QImage iconPicture(int size)
{
    QImage picture(size, size, QImage::Format_ARGB32);
    picture.fill(maskColor);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(Qt::NoPen);
    painter.fillRect(QRect(5, 3, 26, 28), toQColor(PaletteColor(8)));    // sheet shadow
    painter.fillRect(QRect(2, 1, 26, 28), toQColor(PaletteColor(0)));    // sheet outline
    painter.fillRect(QRect(3, 2, 24, 26), toQColor(PaletteColor(15)));   // sheet
    const QPolygon letterA({QPoint(12, 4), QPoint(17, 4), QPoint(24, 21), QPoint(19, 21), QPoint(18, 17),
                            QPoint(11, 17), QPoint(10, 21), QPoint(5, 21)});
    const QPolygon counter({QPoint(14, 9), QPoint(15, 9), QPoint(17, 14), QPoint(12, 14)});
    const auto drawLetter = [&](QPoint offset, const QColor& color) {
        painter.setBrush(color);
        painter.drawPolygon(letterA.translated(offset));
        painter.setBrush(toQColor(PaletteColor(15)));
        painter.drawPolygon(counter.translated(offset));
    };
    drawLetter(QPoint(2, 2), toQColor(PaletteColor(7)));
    drawLetter(QPoint(0, 0), toQColor(PaletteColor(12)));
    const std::array<int, 6> strip{12, 14, 10, 11, 9, 13};
    for (std::size_t i = 0; i < strip.size(); ++i)
        painter.fillRect(QRect(4 + 4 * static_cast<int>(i), 23, 4, 4), toQColor(PaletteColor(strip[i])));
    painter.end();
    return masked(picture);
}

} // namespace

QImage masked(const QImage& picture)
{
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if ((line[x] | 0xFF000000u) == maskColor)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return result;
}

QPixmap boldLetter()
{
    return pictureOf({
        "................",
        "................",
        ".kkkkkkkkkk.....",
        "..kkkk...kkk....",
        "..kkkk....kkk...",
        "..kkkk....kkk...",
        "..kkkk....kkk...",
        "..kkkk...kkk....",
        "..kkkkkkkkk.....",
        "..kkkk....kkk...",
        "..kkkk.....kkk..",
        "..kkkk.....kkk..",
        "..kkkk.....kkk..",
        "..kkkk....kkk...",
        ".kkkkkkkkkkk....",
        "................",
    });
}

QPixmap italicLetter()
{
    return pictureOf({
        "................",
        "................",
        "........kkkkk...",
        "..........kk....",
        "..........kk....",
        ".........kk.....",
        ".........kk.....",
        "........kk......",
        "........kk......",
        ".......kk.......",
        ".......kk.......",
        "......kk........",
        "......kk........",
        ".....kk.........",
        "...kkkkk........",
        "................",
    });
}

QPixmap copySheets()
{
    return pictureOf({
        "kkkkkkkkkk......",
        "kwwwwwwwwk......",
        "kwbbbbbbwk......",
        "kwwwwwwwwk......",
        "kwbbbbkkkkkkkkkk",
        "kwwwwwkwwwwwwwwk",
        "kwbbbbkwbbbbbbwk",
        "kwwwwwkwwwwwwwwk",
        "kwbbbbkwbbbbbbwk",
        "kwwwwwkwwwwwwwwk",
        "kwwwwwkwbbbbbbwk",
        "kkkkkkkwwwwwwwwk",
        "......kwbbbbbbwk",
        "......kwwwwwwwwk",
        "......kwwwwwwwwk",
        "......kkkkkkkkkk",
    });
}

QPixmap floppyDisk()
{
    return pictureOf({
        "kkkkkkkkkkkkkkk.",
        "kbbllllllllbbbbk",
        "kbbllllkkllbbbbk",
        "kbbllllkkllbbbbk",
        "kbbllllkkllbbbbk",
        "kbbllllllllbbbbk",
        "kbbbbbbbbbbbbbbk",
        "kbbbbbbbbbbbbbbk",
        "kbbwwwwwwwwwwbbk",
        "kbbwrrrrrrrrwbbk",
        "kbbwwwwwwwwwwbbk",
        "kbbwkkkkkkkkwbbk",
        "kbbwwwwwwwwwwbbk",
        "kbbwkkkkkkkkwbbk",
        "kbbwwwwwwwwwwbbk",
        "kkkkkkkkkkkkkkkk",
    });
}

QIcon windowIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(iconPicture(32)));
    icon.addPixmap(QPixmap::fromImage(iconPicture(16)));
    return icon;
}

} // namespace sorvel::artwork
