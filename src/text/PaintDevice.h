#pragma once
// The 96-dpi paint device that every font measurement and text layout uses, so that a picture
// has the same pixels whatever screen the program runs on.

class QPaintDevice;

namespace sorvel {

// A paint device of exactly 96 dpi for font metrics and layouts, whatever the screen says.
QPaintDevice& paintDevice96();

// Dots per metre of 96 dpi, given to every image the program draws on.
constexpr int dotsPerMeter96 = 3780;

} // namespace sorvel
