#include "app/rules/slider_strip.h"

#include <cmath>

#include "app/rules/value_bounds.h"

namespace app {

namespace {

constexpr int32_t captionBand = 28;
constexpr int32_t valueWidth = 65;

int32_t scaled(int64_t logical, float uiScale) {
    return static_cast<int32_t>(std::lround(static_cast<float>(logical) * boundedScale(uiScale)));
}

}  // namespace

PixelRect sliderValueStrip(const hf::Box& slider, float uiScale) {
    const hf::Box s = boundedBox(slider);
    const int64_t right = static_cast<int64_t>(s.x) + s.w;
    const int64_t top = static_cast<int64_t>(s.y) + captionBand;
    return {scaled(right, uiScale), scaled(top, uiScale), scaled(right + valueWidth, uiScale),
            scaled(top + s.h, uiScale)};
}

}  // namespace app
