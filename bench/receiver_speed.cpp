// Prints the receive chain's real-time factor in each mode (seconds of I/Q
// handled per second of wall-clock time on one thread). Built in both trees,
// so the figure can be taken under Wine, where the benchmark is not built.

#include <chrono>
#include <cstdio>

#include "bench/receiver_workload.h"

int main() {
    constexpr int seconds = 5;
    for (const hf_bench::Workload& w : hf_bench::workloads()) {
        hf_bench::Listener listener(w.settings);
        listener.listen(*w.iq);  // warm-up: filters, decoder, caches
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < seconds; ++i) listener.listen(*w.iq);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        std::printf("%-6s %7.1f x real time (%zu blocks, %zu frames)\n", w.name.c_str(),
                    seconds / elapsed.count(), listener.blocks, listener.frames);
    }
    return 0;
}
