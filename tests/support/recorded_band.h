#pragma once
// Test helper: a recorded-like band for whole-chain runs, 8-bit I/Q at
// 960 kHz: noise with an AM, an FM, two SSB and a keyed CW signal.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "hf/records.h"

namespace hf_test {

// Where each signal lies, in Hz from the hardware centre.
inline constexpr int32_t recordedAmAt = 60000;
inline constexpr int32_t recordedFmAt = -90000;
inline constexpr int32_t recordedSsbAt = -30000;  // tones at +1200 and −800 from it
inline constexpr int32_t recordedCwAt = 10000;

// The hardware centre of the runs that listen to the band.
inline constexpr uint32_t recordedCentre = 7100000;

// Settings that listen at `offset` Hz from the recorded centre.
hf::Settings listeningAt(int32_t mode, int32_t offset, int32_t bandwidth);

// `pairs` pairs, the CW carrier keyed by cwKey (one state per ms, see
// keyMorse); the same band for the same seed.
std::vector<uint8_t> recordedBand(std::size_t pairs, const std::vector<bool>& cwKey, uint32_t noiseSeed);

}  // namespace hf_test
