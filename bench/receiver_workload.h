#pragma once
// The receive chain's speed workload, shared by the benchmark and by the plain
// speed report that also runs under Wine: one second of recorded-like I/Q
// (noise and several signals), made once, listened to in each mode.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "hf/receiver_dsp.h"

namespace hf_bench {

struct Workload {
    std::string name;
    hf::Settings settings;
    const std::vector<uint8_t>* iq;  // one second at 960 kHz
};

// AM, FM, USB, LSB and CW (decoding) on the recorded second, and CW on an
// all-zero second.
const std::vector<Workload>& workloads();

// A chain whose sinks only count what they receive.
struct Listener {
    explicit Listener(const hf::Settings& settings);
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // Feeds one second in the dongle's 32768-byte buffers.
    void listen(const std::vector<uint8_t>& iq);

    hf::ReceiverDSP dsp;
    std::size_t blocks = 0;
    std::size_t frames = 0;
    std::size_t textLength = 0;
};

}  // namespace hf_bench
