#include "artwork/Artwork.h"

#include "render/PaletteColor.h"

#include <QPainter>
#include <QPolygon>
#include <QTextStream>

#include <array>
#include <string_view>

namespace sorvel::artwork {

namespace {

using PixelMap = std::array<std::string_view, 16>;

// One letter a colour: '.' is the mask colour, the others are palette entries.
QRgb colorOf(char code)
{
    switch (code) {
    case 'k':
        return toQColor(PaletteColor(0)).rgb(); // black
    case 'b':
        return toQColor(PaletteColor(1)).rgb(); // blue
    case 'l':
        return toQColor(PaletteColor(7)).rgb(); // light grey
    case 'g':
        return toQColor(PaletteColor(8)).rgb(); // grey
    case 'r':
        return toQColor(PaletteColor(12)).rgb(); // light red
    case 'w':
        return toQColor(PaletteColor(15)).rgb(); // white
    default:
        return maskColor;
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

// The icon on a 32-unit grid: a white sheet with a bold red A and its grey shadow, above a
// strip of palette colours. Every shape is one of the 16 palette colours.
std::vector<IconShape> iconShapes()
{
    const auto color = [](int index) { return toQColor(PaletteColor(index)).rgb(); };
    std::vector<IconShape> shapes{
        {QRect(5, 3, 26, 28), {}, color(8)},  // sheet shadow
        {QRect(2, 1, 26, 28), {}, color(0)},  // sheet outline
        {QRect(3, 2, 24, 26), {}, color(15)}, // sheet
    };
    const QPolygon letterA({QPoint(12, 4), QPoint(17, 4), QPoint(24, 21), QPoint(19, 21), QPoint(18, 17),
                            QPoint(11, 17), QPoint(10, 21), QPoint(5, 21)});
    const QPolygon counter({QPoint(14, 9), QPoint(15, 9), QPoint(17, 14), QPoint(12, 14)});
    for (const auto& [offset, letterColor] : {std::pair{QPoint(2, 2), 7}, std::pair{QPoint(0, 0), 12}}) {
        shapes.push_back({{}, letterA.translated(offset), color(letterColor)});
        shapes.push_back({{}, counter.translated(offset), color(15)});
    }
    const std::array<int, 6> strip{12, 14, 10, 11, 9, 13};
    for (std::size_t i = 0; i < strip.size(); ++i)
        shapes.push_back({QRect(4 + 4 * static_cast<int>(i), 23, 4, 4), {}, color(strip[i])});
    return shapes;
}

// Drawn on transparency without antialiasing, so that every pixel is a palette colour or clear.
QImage iconPicture(int size)
{
    QImage picture(size, size, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(size / double(iconGrid), size / double(iconGrid));
    painter.setPen(Qt::NoPen);
    for (const IconShape& shape : iconShapes()) {
        if (shape.polygon.isEmpty()) {
            painter.fillRect(shape.rect, QColor(shape.color));
        } else {
            painter.setBrush(QColor(shape.color));
            painter.drawPolygon(shape.polygon);
        }
    }
    painter.end();
    return picture;
}

QByteArray iconSvg()
{
    QByteArray svg;
    QTextStream out(&svg);
    const auto name = [](QRgb color) { return QColor(color).name(); };
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << iconGrid << "\" height=\"" << iconGrid
        << "\" viewBox=\"0 0 " << iconGrid << ' ' << iconGrid << "\" shape-rendering=\"crispEdges\">\n";
    for (const IconShape& shape : iconShapes()) {
        if (shape.polygon.isEmpty()) {
            out << "  <rect x=\"" << shape.rect.x() << "\" y=\"" << shape.rect.y() << "\" width=\""
                << shape.rect.width() << "\" height=\"" << shape.rect.height() << "\" fill=\"" << name(shape.color)
                << "\"/>\n";
        } else {
            out << "  <polygon points=\"";
            for (qsizetype i = 0; i < shape.polygon.size(); ++i)
                out << (i ? " " : "") << shape.polygon.at(i).x() << ',' << shape.polygon.at(i).y();
            out << "\" fill=\"" << name(shape.color) << "\"/>\n";
        }
    }
    out << "</svg>\n";
    out.flush();
    return svg;
}

QIcon windowIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(iconPicture(32)));
    icon.addPixmap(QPixmap::fromImage(iconPicture(16)));
    return icon;
}

} // namespace sorvel::artwork
