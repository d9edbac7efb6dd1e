#pragma once
// The vector widths the filters can run with here, for tests that hold each
// of them to the same results.

#include <vector>

#include "hf/vector_path.h"

namespace hf_test {

// The baseline, and the wider one when the processor has it.
inline std::vector<bool> vectorWidths() {
    if (hf::wideVectorsAvailable()) return {false, true};
    return {false};
}

inline const char* vectorWidthName(bool wide) { return wide ? "wide vectors" : "baseline vectors"; }

// Sets the filters' vector width for a scope.
struct VectorWidth {
    explicit VectorWidth(bool wide) { hf::useWideVectors(wide); }
    ~VectorWidth() { hf::useWideVectors(true); }
    VectorWidth(const VectorWidth&) = delete;
    VectorWidth& operator=(const VectorWidth&) = delete;
};

}  // namespace hf_test
