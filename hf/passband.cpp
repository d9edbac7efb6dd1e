#include "hf/passband.h"

namespace hf {

namespace {

constexpr int32_t usb = 2;
constexpr int32_t lsb = 3;
constexpr int32_t sidebandGap = 150;

}  // namespace

Passband passband(int32_t mode, int32_t bandwidth) {
    if (mode == usb) return {sidebandGap, bandwidth + sidebandGap};
    if (mode == lsb) return {-bandwidth - sidebandGap, -sidebandGap};
    return {-(bandwidth / 2), bandwidth / 2};
}

}  // namespace hf
