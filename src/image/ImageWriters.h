#pragma once
// The three image file writers. Each writes the width x height pixels from the canvas image's
// top-left corner to path, streaming the encoded rows into the new file rather than building
// the file in memory, replacing a file of that name only when it is complete;
// on any failure an existing file is left untouched and the result says why. Paths are
// Unicode. Never raises.

#include "image/ImageWriteResult.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>

#include <cstdint>

namespace sorvel {

// PNG, exactly the canvas pixels, 8 bits a sample: greyscale, with a palette or RGB, whichever
// holds the picture in fewest bytes (see PngEncoder.h).
WriteResult writePngFile(const QImage& canvas, int width, int height, const QString& path) noexcept;

// Baseline JPEG. quality 1..100 is the encoder's quality; 101..255 write at 100 (0 writes at
// the encoder's lowest quality).
WriteResult writeJpegFile(const QImage& canvas, int width, int height, const QString& path,
                          std::uint8_t quality) noexcept;

// Windows bitmap: BITMAPFILEHEADER, BITMAPINFOHEADER, 24 bits per pixel, rows bottom-up.
WriteResult writeBmpFile(const QImage& canvas, int width, int height, const QString& path) noexcept;

// What each writer above puts into its file, streamed into sink as it is encoded (a file being
// replaced, see FileReplacement.h, or standard output). On a failure the sink holds an
// incomplete picture, which the caller drops.
WriteResult writePng(const QImage& canvas, int width, int height, QIODevice& sink) noexcept;
WriteResult writeJpeg(const QImage& canvas, int width, int height, std::uint8_t quality, QIODevice& sink) noexcept;
WriteResult writeBmp(const QImage& canvas, int width, int height, QIODevice& sink) noexcept;

// The same bytes in memory (a failure leaves bytes empty).
WriteResult encodePng(const QImage& canvas, int width, int height, QByteArray& bytes) noexcept;
WriteResult encodeJpeg(const QImage& canvas, int width, int height, std::uint8_t quality, QByteArray& bytes) noexcept;
WriteResult encodeBmp(const QImage& canvas, int width, int height, QByteArray& bytes) noexcept;

} // namespace sorvel
