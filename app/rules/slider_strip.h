#pragma once
// The strip right of a slider where its value is painted, in window pixels.

#include "app/rules/paint_colour.h"
#include "hf/ui_layout.h"

#include <cstdint>

namespace app {

// 65 logical pixels wide beside `slider` (a box of the layout), shifted below
// the caption band and scaled by `uiScale`.
PixelRect sliderValueStrip(const hf::Box& slider, float uiScale);

}  // namespace app
