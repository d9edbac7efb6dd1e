#pragma once
// Colour of one waterfall pixel for a spectrum level, under the plot's
// background, range and contrast settings.

#include <cstdint>

namespace hf {

// Result laid out 0x00RRGGBB, as a 32-bit BI_RGB bitmap stores a pixel; a
// COLORREF needs red and blue swapped.
// light 0..100 places the floor (palette colour 0) at 0.8 × light − 130 dB;
// range is the dB from the floor to white; contrast 50 is linear.
uint32_t waterfallMapped(float level, int light, int range, int contrast);

}  // namespace hf
