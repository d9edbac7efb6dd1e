#include "hf/vector_path.h"

#include <atomic>

namespace hf {

namespace {

std::atomic<bool> wanted{true};

}  // namespace

bool wideVectorsAvailable() {
#if HF_HAVE_AVX_UNIT
    // Also asks whether the system saves the wide registers.
    static const bool available = __builtin_cpu_supports("avx");
    return available;
#else
    return false;
#endif
}

bool wideVectorsInUse() { return wanted.load(std::memory_order_relaxed) && wideVectorsAvailable(); }

void useWideVectors(bool use) { wanted.store(use, std::memory_order_relaxed); }

}  // namespace hf
