#pragma once
// The passband of a mode, in Hz relative to the listen frequency; the receive
// chain, the form, the display and the plot all use these same edges.

#include <cstdint>

namespace hf {

struct Passband {
    int32_t lo = 0;
    int32_t hi = 0;
};

// USB from +150, LSB down from -150, AM, FM and CW symmetric (the half width
// truncated).
Passband passband(int32_t mode, int32_t bandwidth);

}  // namespace hf
