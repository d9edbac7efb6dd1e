#include "hf/waterfall_colours.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace hf {
namespace {

// Coldest to hottest: deep blue through cyan, yellow, orange and red to white.
constexpr std::array<uint32_t, 8> palette{0x000108, 0x00051C, 0x00194B, 0x26CADF,
                                          0xFFFF30, 0xFF8810, 0xEE2525, 0xFFFFFF};
// Positions 0..1 spread over the blends between neighbouring colours.
constexpr int paletteSteps = int(palette.size()) - 1;

uint32_t channel(uint32_t colour, int shift) { return (colour >> shift) & 0xFFu; }

}  // namespace

uint32_t waterfallMapped(float level, int light, int range, int contrast) {
    const float floorDb = float(light) * 0.8f - 130.0f;
    float t = (level - floorDb) / float(range);
    if (t > 1.0f) return palette.back();
    // Also catches a level that is not a number and 0/0 from an empty range:
    // such a position has no meaning, so it shows as the floor.
    if (!(t >= 0.0f)) t = 0.0f;

    const float gamma = std::pow(2.0f, (float(contrast) - 50.0f) / 50.0f);
    const float s = float(paletteSteps) * std::pow(t, gamma);
    const int i = std::clamp(int(s), 0, paletteSteps - 1);
    const float f = s - float(i);

    uint32_t colour = 0;
    for (int shift : {0, 8, 16}) {
        const float blended = float(channel(palette[i], shift)) * (1.0f - f) +
                              float(channel(palette[i + 1], shift)) * f;
        colour |= uint32_t(blended) << shift;
    }
    return colour;
}

}  // namespace hf
