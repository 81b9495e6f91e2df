#pragma once
// The PNG encoder of every PNG the program writes. A text picture holds few colours: black
// text on white is grey throughout, one colour of text on one background blends only those
// two. The encoder stores such a picture with one byte per pixel, as greyscale or with a
// palette, and the rest (rainbow text, background pictures) as 8-bit RGB; every kind decodes
// to exactly the pixels given.
//
// Rows go unfiltered: on text pictures the four PNG filters save nothing over a plain row
// (long runs of background compress as well either way), while trying them for each row, as
// general-purpose writers do, takes about two thirds of the encoding time.

#include "image/ImageWriteResult.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QList>
#include <QRgb>

namespace sorvel {

enum class PngColourType { Grey, Palette, Rgb };

// The colour type a picture is stored in, and for Palette its colours in the order they first
// occur, row by row.
struct PngLayout {
    PngColourType type = PngColourType::Rgb;
    QList<QRgb> palette;
};

// The layout of the top-left width x height pixels of image (Format_RGB32; the size must fit).
PngLayout pngLayoutOf(const QImage& image, int width, int height);

// The zlib level each colour type is compressed with (see bench/bench_png_levels).
int defaultPngLevel(PngColourType type);

// Encodes the top-left width x height pixels of image (Format_RGB32; the size must fit) into
// sink, row by row as libpng compresses them. zlibLevel 0..9, or -1 for the level of the chosen
// colour type. The image's resolution is kept (pHYs) when it has one. Never raises: on a
// failure (no memory, a write the sink refused) the sink holds an incomplete file.
WriteResult writePngImage(const QImage& image, int width, int height, QIODevice& sink, int zlibLevel = -1) noexcept;

// The same bytes in memory. A failure leaves bytes empty.
WriteResult encodePngImage(const QImage& image, int width, int height, QByteArray& bytes, int zlibLevel = -1) noexcept;

} // namespace sorvel
