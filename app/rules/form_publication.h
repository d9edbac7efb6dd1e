#pragma once
// What applying a valid form publishes: the settings with their hardware
// centre, whether the passband still lies in the received span, and how far
// the waterfall history moves with the centre.

#include "app/rules/centre_choice.h"
#include "hf/records.h"

#include <cstdint>

namespace app {

struct FormPublication {
    hf::Settings settings;       // the form's values with the chosen `center`
    bool outOfSpan = false;
    int64_t waterfallShift = 0;  // columns; 0 also when nothing was published before
};

// `read`: the form as read (its `center` ignored). `formCentre`: the centre
// the form held (0: none, which the scanner sets to ask for a fresh one).
// `publishedCentre`: the centre the receiver was last given, which the
// waterfall on screen was drawn around.
FormPublication formPublication(const hf::Settings& read, uint32_t formCentre,
                                uint32_t publishedCentre, const CentreView& view,
                                const hf::Device& dongle, int32_t waterfallColumns);

}  // namespace app
