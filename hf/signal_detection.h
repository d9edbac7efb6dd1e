#pragma once
// Signal measurements on the narrow (48 kHz) spectrum of a frame: the SNR shown
// in the status line and the presence detector that stops the scanner. Both
// weigh the listening passband against the median of two guard bands beside it.

#include <cstdint>
#include <vector>

namespace hf {

// In-band peak minus noise floor in dB; 0 when there is nothing to measure.
// lo and hi are the passband edges in Hz from the listen frequency.
float signalContrast(const std::vector<float>& spectrum, int lo, int hi);

class SpectralPresence {
public:
    // key names what is being listened to; a new key starts afresh.
    // now is in ms of the system tick counter; quick trusts a stable peak sooner.
    bool update(const std::vector<float>& spectrum, int lo, int hi, uint32_t key, uint64_t now,
                bool quick);

    int32_t lastPeakBin = -1;
    int32_t hits = 0;
    int32_t frames = 0;
    uint32_t key = 0xFFFFFFFF;
    uint64_t lastSeenMs = 0;
    bool present = false;
};

}  // namespace hf
