#include "app/rules/squelch_gate.h"

namespace app {

SquelchGate nextSquelchGate(SquelchGate gate, int32_t squelch, float level, uint64_t nowMs) {
    const float threshold = static_cast<float>(squelch) - 110.0f - (gate.open ? 2.0f : 0.0f);
    if (squelch == 0 || level >= threshold) return {true, nowMs};
    // Signed: a tick time older than the last "above" time never closes the gate.
    if (static_cast<int64_t>(nowMs - gate.aboveMs) > 250) gate.open = false;
    return gate;
}

}  // namespace app
