#pragma once
// Whether a BMP file holds all the pixel data its header promises. Qt's BMP reader reports a
// file cut short, or one whose pixel data starts past its end, as read, and leaves the missing
// rows as whatever the memory held: such a picture would show (and save) stray memory.

#include <QByteArray>

namespace sorvel {

// header: the file's first bytes (bmpHeaderBytes of Bmp16Samples.h are enough); fileSize: the
// whole file's. False when the information header runs past the end of the file, has a size
// no BMP version uses, or overlaps the pixel data, or when the uncompressed rows the header
// describes do not fit in the file;
// true otherwise, also for compressed pictures and headers too short to tell (the reader then
// decides).
bool bmpPixelDataComplete(const QByteArray& header, qint64 fileSize);

} // namespace sorvel
