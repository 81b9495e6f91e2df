#pragma once
// What both PNG encoders share around libpng: the file's bytes streamed into a device as libpng
// gives them, libpng's error message kept for the result, its warnings dropped, and its write
// structures made and freed around the encoder's own rows.

#include "image/ImageWriteResult.h"

#include <QIODevice>

#include <png.h>

#include <array>
#include <functional>

namespace sorvel {

struct PngOutput {
    QIODevice* sink = nullptr;
    std::array<char, 200> failure{}; // libpng's message; empty when memory ran out
};

// Makes libpng's write structures with output as their destination, calls writeRows (which
// must set its own setjmp: libpng leaves by longjmp, so no object with a destructor may live in
// the frames between), and frees them again. On any failure output.bytes is left empty and the
// result says why.
WriteResult runPngWrite(PngOutput& output, const std::function<bool(png_structp, png_infop)>& writeRows) noexcept;

} // namespace sorvel
