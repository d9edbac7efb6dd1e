// Prints the receive chain's real-time factor in each mode (seconds of I/Q
// handled per second of wall-clock time on one thread). Built in both trees,
// so the figure can be taken under Wine, where the benchmark is not built.
// --baseline keeps the filters on the baseline vectors even where wider ones
// are available.

#include <chrono>
#include <cstdio>
#include <cstring>

#include "bench/receiver_workload.h"
#include "hf/vector_path.h"

int main(int argc, char** argv) {
    const bool baseline = argc > 1 && std::strcmp(argv[1], "--baseline") == 0;
    hf::useWideVectors(!baseline);
    std::printf("filters on %s vectors\n", hf::wideVectorsInUse() ? "AVX" : "baseline");
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
