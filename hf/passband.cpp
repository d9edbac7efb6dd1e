#include "hf/passband.h"

#include "hf/modes.h"

#include <algorithm>

namespace hf {

namespace {

constexpr int32_t sidebandGap = 150;

// An edge beyond the 32-bit range saturates.
int32_t edge(int64_t hz) {
    return static_cast<int32_t>(std::clamp<int64_t>(hz, INT32_MIN, INT32_MAX));
}

}  // namespace

Passband passband(int32_t mode, int32_t bandwidth) {
    const int64_t width = bandwidth;
    if (mode == modeUSB) return {sidebandGap, edge(width + sidebandGap)};
    if (mode == modeLSB) return {edge(-width - sidebandGap), -sidebandGap};
    return {edge(-(width / 2)), edge(width / 2)};
}

}  // namespace hf
