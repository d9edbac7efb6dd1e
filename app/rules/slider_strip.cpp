#include "app/rules/slider_strip.h"

#include "app/rules/tick_rules.h"
#include "app/rules/value_bounds.h"

namespace app {

namespace {

constexpr int32_t valueWidth = 65;

}  // namespace

PixelRect sliderValueStrip(const hf::Box& slider, float uiScale) {
    const hf::Box s = boundedBox(slider);
    return windowRect({s.x + s.w, s.y, valueWidth, s.h}, uiScale);
}

}  // namespace app
