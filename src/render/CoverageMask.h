#pragma once
// A coverage mask: how much of every pixel a shape covers, one byte a pixel from 0 (nothing) to
// 255 (all), rows one after another. Outlines grow it by a disc, soft shadows blur it; both
// keep the antialiased edges of the shape they start from. Pixels outside the mask count as
// uncovered. An allocation that fails raises std::bad_alloc.

#include <QPoint>

class QImage;

#include <cstdint>
#include <vector>

namespace sorvel {

struct CoverageMask {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width x height bytes

    CoverageMask() = default;
    CoverageMask(int w, int h);

    std::uint8_t* row(int y) { return pixels.data() + static_cast<std::ptrdiff_t>(y) * width; }
    const std::uint8_t* row(int y) const { return pixels.data() + static_cast<std::ptrdiff_t>(y) * width; }
    std::uint8_t at(int x, int y) const { return row(y)[x]; }
};

// The alpha channel of an image in Format_ARGB32_Premultiplied (any other is converted first).
CoverageMask alphaOf(const QImage& image);

// The largest |dy| of a pixel (dx, dy) of the disc of radius r with dx = k: the disc holds
// every pixel with dx^2 + dy^2 <= r^2 + r, a round disc whose radius-1 case is the 3 x 3 square.
int discHalfHeight(int radius, int k);

// Every pixel takes the largest coverage within the disc of radius pixels around it: the shape
// grows by radius pixels on every side, with round corners. A radius of 0 or less changes
// nothing. Time: about radius passes over the mask.
void dilateByDisc(CoverageMask& mask, int radius);

// A soft version of the shape: three box blurs whose radii add up to reach, close to a Gaussian
// blur; the shape's coverage spreads at most reach pixels beyond it. A reach of 0 or less
// changes nothing. Time: six passes over the mask, whatever the reach.
void blurSoftly(CoverageMask& mask, int reach);

// The mask moved by offset, of the same size: what moves out is cut, what comes in is empty.
CoverageMask shiftedMask(const CoverageMask& mask, QPoint offset);

} // namespace sorvel
