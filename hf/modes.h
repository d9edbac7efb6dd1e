#pragma once
// The receiver's modes, as hf::Settings::Mode holds them and the settings
// file stores them.

#include <cstdint>

namespace hf {

inline constexpr int32_t modeAM = 0;
inline constexpr int32_t modeFM = 1;
inline constexpr int32_t modeUSB = 2;
inline constexpr int32_t modeLSB = 3;
inline constexpr int32_t modeCW = 4;

}  // namespace hf
