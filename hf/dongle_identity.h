#pragma once
// Which dongle may be opened, and how it receives a given frequency.

#include "hf/records.h"

#include <cstdint>
#include <vector>

namespace hf {

// The one entry of `found` with the wanted identity; refuses an unidentifiable
// choice, a duplicated identity and an absent dongle rather than substitute.
Device chooseDevice(const std::vector<Device>& found, const Device& wanted);

// The direct-sampling mode for rtlsdr_set_direct_sampling: 0 (quadrature) or
// 2 (Q branch). Throws below 25 MHz on a dongle not known to receive there.
uint32_t receptionPath(const Device& device, uint32_t hz);

// An RTL-SDR Blog V4 with a serial number.
bool isV4(const Device& device);

}  // namespace hf
