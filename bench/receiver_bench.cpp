// Speed of the receive chain in each mode, as a real-time factor: seconds of
// 960 kHz I/Q handled per second of CPU time. Where the processor has wider
// vectors than the baseline, each mode is also measured on the baseline ones
// ("…/baseline").

#include <benchmark/benchmark.h>

#include "bench/receiver_workload.h"
#include "hf/vector_path.h"

namespace {

void receive(benchmark::State& state, const hf_bench::Workload& workload, bool wide) {
    hf::useWideVectors(wide);
    hf_bench::Listener listener(workload.settings);
    for (auto _ : state) listener.listen(*workload.iq);
    state.counters["realtime"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    benchmark::DoNotOptimize(listener.blocks);
    hf::useWideVectors(true);
}

}  // namespace

int main(int argc, char** argv) {
    for (const hf_bench::Workload& w : hf_bench::workloads()) {
        benchmark::RegisterBenchmark(("ReceiverDSP/" + w.name).c_str(), receive, w, true)
            ->Unit(benchmark::kMillisecond);
        if (hf::wideVectorsAvailable())
            benchmark::RegisterBenchmark(("ReceiverDSP/" + w.name + "/baseline").c_str(), receive, w, false)
                ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
