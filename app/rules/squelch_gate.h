#pragma once
// The squelch decision: whether the audio goes through, with 2 dB of
// hysteresis while open and a 250 ms hold after the level drops.

#include <cstdint>

namespace app {

struct SquelchGate {
    bool open = true;          // the gate's decision
    uint64_t aboveMs = 0;      // tick time the level was last at or above the threshold
};

// `squelch` 0 is off; otherwise the threshold is squelch - 110 dBFS.
SquelchGate nextSquelchGate(SquelchGate gate, int32_t squelch, float level, uint64_t nowMs);

}  // namespace app
