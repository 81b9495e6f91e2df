#include "render/CoverageMask.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace sorvel {

namespace {

using Byte = std::uint8_t;

// The byte loops below run in blocks of a fixed length, which the compiler turns into whole
// vector registers at a time, and a plain loop for the rest.
constexpr int blockLength = 64;

// to[x] = max(to[x], from[x]) for n bytes.
void maxInto(Byte* __restrict to, const Byte* __restrict from, int n)
{
    int x = 0;
    for (; x + blockLength <= n; x += blockLength)
        for (int i = 0; i < blockLength; ++i)
            to[x + i] = std::max(to[x + i], from[x + i]);
    for (; x < n; ++x)
        to[x] = std::max(to[x], from[x]);
}

// to[x] = max(a[x], b[x]) for n bytes.
void maxOf(Byte* __restrict to, const Byte* __restrict a, const Byte* __restrict b, int n)
{
    int x = 0;
    for (; x + blockLength <= n; x += blockLength)
        for (int i = 0; i < blockLength; ++i)
            to[x + i] = std::max(a[x + i], b[x + i]);
    for (; x < n; ++x)
        to[x] = std::max(a[x], b[x]);
}

// to[x] = max(to[x], a[x], b[x]) for n bytes.
void maxOfInto(Byte* __restrict to, const Byte* __restrict a, const Byte* __restrict b, int n)
{
    int x = 0;
    for (; x + blockLength <= n; x += blockLength)
        for (int i = 0; i < blockLength; ++i)
            to[x + i] = std::max(to[x + i], std::max(a[x + i], b[x + i]));
    for (; x < n; ++x)
        to[x] = std::max(to[x], std::max(a[x], b[x]));
}

// Every row of out takes the largest value of the rows of in within half rows above and below
// it (rows beyond the mask count as 0): van Herk and Gil-Werman's running maximum, three
// passes whatever half is. prefix and suffix are scratch of (height + 2 half) rows.
void verticalMaxInto(CoverageMask& out, const std::vector<Byte>& in, int half, std::vector<Byte>& prefix,
                     std::vector<Byte>& suffix)
{
    const int w = out.width;
    const int h = out.height;
    const auto inRow = [&](int y) { return in.data() + static_cast<std::ptrdiff_t>(y) * w; };
    if (half <= 2) {
        // A short window: the rows themselves, fewer passes than the running maximum's.
        for (int y = 0; y < h; ++y)
            for (int dy = std::max(-half, -y); dy <= half && y + dy < h; ++dy)
                maxInto(out.row(y), inRow(y + dy), w);
        return;
    }
    // Padded rows p = 0 .. n-1 are the mask's rows p - half, blank beyond them, in blocks of
    // one window's length. The window of row y is the padded rows y .. y + 2 half.
    const int n = h + 2 * half;
    const int block = 2 * half + 1;
    const std::vector<Byte> blank(static_cast<std::size_t>(w), 0);
    auto source = [&](int p) {
        const int y = p - half;
        return y < 0 || y >= h ? blank.data() : inRow(y);
    };
    auto rowOf = [w](std::vector<Byte>& v, int p) { return v.data() + static_cast<std::ptrdiff_t>(p) * w; };
    prefix.resize(static_cast<std::size_t>(n) * w);
    suffix.resize(static_cast<std::size_t>(n) * w);
    for (int p = 0; p < n; ++p) {
        if (p % block == 0)
            std::copy_n(source(p), w, rowOf(prefix, p));
        else
            maxOf(rowOf(prefix, p), rowOf(prefix, p - 1), source(p), w);
    }
    for (int p = n - 1; p >= 0; --p) {
        if (p % block == block - 1 || p == n - 1)
            std::copy_n(source(p), w, rowOf(suffix, p));
        else
            maxOf(rowOf(suffix, p), rowOf(suffix, p + 1), source(p), w);
    }
    for (int y = 0; y < h; ++y)
        maxOfInto(out.row(y), rowOf(suffix, y), rowOf(prefix, y + 2 * half), w);
}

// One box blur along the rows: every pixel the mean of the 2 radius + 1 pixels around it.
void boxBlurRows(CoverageMask& mask, int radius, std::vector<Byte>& line)
{
    const int w = mask.width;
    const int length = 2 * radius + 1;
    const std::uint32_t scale = (1u << 24) / static_cast<std::uint32_t>(length);
    line.resize(static_cast<std::size_t>(w) + 2 * radius);
    for (int y = 0; y < mask.height; ++y) {
        Byte* row = mask.row(y);
        // The row with radius blank pixels on both sides.
        std::fill_n(line.begin(), radius, Byte{0});
        std::copy_n(row, w, line.begin() + radius);
        std::fill_n(line.begin() + radius + w, radius, Byte{0});
        std::uint32_t sum = 0;
        for (int i = 0; i < length - 1; ++i)
            sum += line[static_cast<std::size_t>(i)];
        for (int x = 0; x < w; ++x) {
            sum += line[static_cast<std::size_t>(x + length - 1)];
            row[x] = static_cast<Byte>((sum * scale + (1u << 23)) >> 24);
            sum -= line[static_cast<std::size_t>(x)];
        }
    }
}

// The same along the columns, a whole row at a time.
void boxBlurColumns(CoverageMask& mask, int radius, std::vector<std::uint32_t>& sums, std::vector<Byte>& copy)
{
    const int w = mask.width;
    const int h = mask.height;
    const std::uint32_t scale = (1u << 24) / static_cast<std::uint32_t>(2 * radius + 1);
    copy.assign(mask.pixels.begin(), mask.pixels.end());
    auto source = [&](int y) { return copy.data() + static_cast<std::ptrdiff_t>(y) * w; };
    sums.assign(static_cast<std::size_t>(w), 0);
    for (int y = 0; y < std::min(radius, h); ++y) {
        const Byte* s = source(y);
        for (int x = 0; x < w; ++x)
            sums[static_cast<std::size_t>(x)] += s[x];
    }
    for (int y = 0; y < h; ++y) {
        if (y + radius < h) {
            const Byte* s = source(y + radius);
            for (int x = 0; x < w; ++x)
                sums[static_cast<std::size_t>(x)] += s[x];
        }
        Byte* o = mask.row(y);
        for (int x = 0; x < w; ++x)
            o[x] = static_cast<Byte>((sums[static_cast<std::size_t>(x)] * scale + (1u << 23)) >> 24);
        if (y - radius >= 0) {
            const Byte* s = source(y - radius);
            for (int x = 0; x < w; ++x)
                sums[static_cast<std::size_t>(x)] -= s[x];
        }
    }
}

// Scratch rows kept on each thread from one call to the next: fresh pages for every
// rendering cost more than the passes over them. Beyond keptBytes a buffer is given back.
constexpr std::size_t keptBytes = 64u << 20;

std::vector<Byte>& scratch(int which)
{
    thread_local std::vector<Byte> buffers[4];
    return buffers[which];
}

void giveBackLarge(std::vector<Byte>& buffer)
{
    if (buffer.capacity() > keptBytes)
        std::vector<Byte>().swap(buffer);
}

} // namespace

CoverageMask::CoverageMask(int w, int h)
    : width(std::max(w, 0)), height(std::max(h, 0)), pixels(static_cast<std::size_t>(width) * height, 0)
{
}

CoverageMask alphaOf(const QImage& image)
{
    if (image.format() != QImage::Format_ARGB32_Premultiplied && !image.isNull())
        return alphaOf(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    CoverageMask mask(image.width(), image.height());
    for (int y = 0; y < mask.height; ++y) {
        const auto* __restrict from = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        Byte* __restrict to = mask.row(y);
        int x = 0;
        for (; x + blockLength <= mask.width; x += blockLength)
            for (int i = 0; i < blockLength; ++i)
                to[x + i] = static_cast<Byte>(from[x + i] >> 24);
        for (; x < mask.width; ++x)
            to[x] = static_cast<Byte>(from[x] >> 24);
    }
    return mask;
}

int discHalfHeight(int radius, int k)
{
    const long long room = static_cast<long long>(radius) * radius + radius - static_cast<long long>(k) * k;
    if (room < 0)
        return -1;
    auto half = static_cast<int>(std::sqrt(static_cast<double>(room)));
    while (static_cast<long long>(half) * half > room)
        --half;
    while (static_cast<long long>(half + 1) * (half + 1) <= room)
        ++half;
    return half;
}

void dilateByDisc(CoverageMask& mask, int radius)
{
    if (radius <= 0 || mask.pixels.empty())
        return;
    const int w = mask.width;
    const int h = mask.height;
    std::vector<Byte>& source = scratch(0);
    source.assign(mask.pixels.begin(), mask.pixels.end());
    // The disc is the union of the rectangles 2k + 1 wide and 2 discHalfHeight(k) + 1 tall; the
    // largest value over a rectangle is the largest over its width along the rows, then over
    // its height along the columns. A rectangle as tall as the next, wider one adds nothing.
    std::vector<Byte>& across = scratch(1); // largest over 2k + 1 pixels of each row
    across.assign(source.begin(), source.end());
    std::vector<Byte>& prefix = scratch(2);
    std::vector<Byte>& suffix = scratch(3);
    std::fill(mask.pixels.begin(), mask.pixels.end(), Byte{0});
    for (int k = 0; k <= radius; ++k) {
        if (k > 0) {
            for (int y = 0; y < h; ++y) {
                Byte* a = across.data() + static_cast<std::ptrdiff_t>(y) * w;
                const Byte* s = source.data() + static_cast<std::ptrdiff_t>(y) * w;
                if (k < w) {
                    maxInto(a + k, s, w - k);
                    maxInto(a, s + k, w - k);
                }
            }
        }
        const int half = discHalfHeight(radius, k);
        if (k < radius && discHalfHeight(radius, k + 1) == half)
            continue;
        verticalMaxInto(mask, across, half, prefix, suffix);
    }
    for (int i = 0; i < 4; ++i)
        giveBackLarge(scratch(i));
}

void blurSoftly(CoverageMask& mask, int reach)
{
    if (reach <= 0 || mask.pixels.empty())
        return;
    std::vector<Byte>& line = scratch(0);
    thread_local std::vector<std::uint32_t> sums;
    std::vector<Byte>& copy = scratch(1);
    for (int pass = 0; pass < 3; ++pass) {
        const int radius = reach / 3 + (pass < reach % 3 ? 1 : 0);
        if (radius == 0)
            continue;
        boxBlurRows(mask, radius, line);
        boxBlurColumns(mask, radius, sums, copy);
    }
    giveBackLarge(line);
    giveBackLarge(copy);
}

CoverageMask shiftedMask(const CoverageMask& mask, QPoint offset)
{
    CoverageMask moved(mask.width, mask.height);
    const int dx = offset.x();
    const int dy = offset.y();
    const int x0 = std::clamp(dx, 0, mask.width);
    const int x1 = std::clamp(mask.width + dx, 0, mask.width);
    if (x1 <= x0)
        return moved;
    for (int y = std::max(0, dy); y < std::min(mask.height, mask.height + dy); ++y)
        std::copy(mask.row(y - dy) + (x0 - dx), mask.row(y - dy) + (x1 - dx), moved.row(y) + x0);
    return moved;
}

} // namespace sorvel
