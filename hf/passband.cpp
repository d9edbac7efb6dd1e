#include "hf/passband.h"

#include "hf/modes.h"

namespace hf {

namespace {

constexpr int32_t sidebandGap = 150;

}  // namespace

Passband passband(int32_t mode, int32_t bandwidth) {
    if (mode == modeUSB) return {sidebandGap, bandwidth + sidebandGap};
    if (mode == modeLSB) return {-bandwidth - sidebandGap, -sidebandGap};
    return {-(bandwidth / 2), bandwidth / 2};
}

}  // namespace hf
