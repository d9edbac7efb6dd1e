#pragma once
// The strip right of a slider where its value is painted, in window pixels.

#include "hf/ui_layout.h"

#include <cstdint>

namespace app {

struct PixelRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PixelRect&) const = default;
};

// 65 logical pixels wide beside `slider` (a box of the layout), shifted below
// the caption band and scaled by `uiScale`.
PixelRect sliderValueStrip(const hf::Box& slider, float uiScale);

}  // namespace app
