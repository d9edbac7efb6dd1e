#pragma once
// The FIR outputs with AVX's eight-lane vectors, built in a unit of their own
// for processors that have them; the same results as the baseline lanes.

#include <cstddef>

#include "hf/fir_lanes.h"

namespace hf::fir_avx {

// fir_lanes::outputs over eight lanes; defined for the receive chain's filters
// (real taps at factors 5 and 4, complex taps at factor 1).
template <int Factor, bool ComplexTaps>
void outputs(const fir_lanes::Taps& taps, const fir_lanes::Lines<Factor>& lines, std::size_t g, std::size_t end,
             float* out);

}  // namespace hf::fir_avx
