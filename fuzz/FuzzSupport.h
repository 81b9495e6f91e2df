#pragma once
// What every fuzz target needs: a headless application and checks that end the run loudly.

#include <cstddef>

class QImage;

namespace sorvel {

class CanvasSurface;

namespace fuzzing {

// Starts the one QGuiApplication of the process on the offscreen platform (fonts, image
// plugins and palettes need it). Safe to call more than once.
void startOffscreenApplication();

// A broken promise of the code under test: prints what was expected and aborts, which the
// fuzzer reports as a crash together with the input.
void require(bool condition, const char* expectation);

// The canvas keeps within its limits (CanvasSurface::maxSide, maxArea), and its image matches its size.
void requireCanvasWithinLimits(const CanvasSurface& canvas);

// A hash of every pixel and the size, to compare two renderings without keeping both images.
std::size_t pixelHash(const QImage& image);

} // namespace fuzzing
} // namespace sorvel
