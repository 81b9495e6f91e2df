#pragma once
// The window's pictures, drawn in code: the 16 x 16 button pictures, where pixels of the mask
// colour magenta (255, 0, 255) are transparent, and the window icon in 32 x 32 and 16 x 16.
// The icon is a list of shapes, so that the installed icons (SVG and PNG) are drawn from it too.

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPolygon>
#include <QRect>

#include <vector>

namespace sorvel::artwork {

constexpr QRgb maskColor = 0xFFFF00FFu;

QPixmap boldLetter();   // the bold button: a bold serif B
QPixmap italicLetter(); // the italic button: an italic serif I
QPixmap copySheets();   // the copy button: two overlapping document sheets
QPixmap floppyDisk();   // the save button: a floppy disk
QIcon windowIcon();     // 32 x 32 and 16 x 16

// The icon's design grid: shapes are placed in units of 1/32 of its side.
constexpr int iconGrid = 32;

// One filled shape of the icon: the rectangle, or the polygon when it has points.
struct IconShape {
    QRect rect;
    QPolygon polygon;
    QRgb color;
};

std::vector<IconShape> iconShapes(); // in drawing order
QImage iconPicture(int size);        // size x size pixels, transparent around the sheet
QByteArray iconSvg();                // the same shapes as a scalable SVG

// The picture with every pixel of the mask colour made transparent.
QImage masked(const QImage& picture);

} // namespace sorvel::artwork
