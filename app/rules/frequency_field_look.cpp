#include "app/rules/frequency_field_look.h"

#include <algorithm>

#include "app/rules/button_palette.h"
#include "app/rules/value_bounds.h"

namespace app {

namespace {

constexpr Colour panelTop{7, 79, 48};
constexpr Colour panelBottom{2, 30, 24};
constexpr double captionBand = 28;

}  // namespace

Colour fieldRowColour(int row, int fieldTop, float uiScale, const hf::Box& given) {
    const double scale = boundedScale(uiScale);
    const hf::Box panel = boundedBox(given);
    const double e =
        (static_cast<double>(boundedPixel(row) + boundedPixel(fieldTop)) / scale - captionBand - panel.y) /
        std::max(1, panel.h - 1);
    return glossedGradient(panelTop, panelBottom, e);
}

Colour fieldTextColour(bool lit) { return lit ? Colour{65, 255, 110} : Colour{65, 220, 255}; }

}  // namespace app
