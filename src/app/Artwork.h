#pragma once
// The window's pictures, drawn in code: the 16 x 16 button pictures and the window icon in
// 32 x 32 and 16 x 16. Pixels of the mask colour magenta (255, 0, 255) are transparent.

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace sorvel::artwork {

constexpr QRgb maskColor = 0xFFFF00FFu;

QPixmap boldLetter();       // Check1(0): a bold serif B
QPixmap italicLetter();     // Check1(1): an italic serif I
QPixmap copySheets();       // Command1: two overlapping document sheets
QPixmap floppyDisk();       // Command3: a floppy disk
QIcon windowIcon();         // 32 x 32 and 16 x 16

// The picture with every pixel of the mask colour made transparent.
QImage masked(const QImage& picture);

} // namespace sorvel::artwork
