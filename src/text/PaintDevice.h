#pragma once

class QPaintDevice;

namespace sorvel {

// A paint device of exactly 96 dpi for font metrics and layouts, whatever the screen says.
QPaintDevice& paintDevice96();

// Dots per metre of 96 dpi, given to every image the program draws on.
constexpr int dotsPerMeter96 = 3780;

} // namespace sorvel
