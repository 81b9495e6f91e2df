#pragma once
// The fixed 16-colour palette of the swatches; entry 7 is also the shadow colour.

#include "platform/ColorValue.h"

namespace sorvel {

constexpr int paletteSize = 16;

// The colour of palette entry index (0..15). Any other index fails with OutOfRange.
ColorValue PaletteColor(int index);

} // namespace sorvel
