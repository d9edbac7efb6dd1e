// Compiled with AVX enabled; reached only where the processor has it.
#include "hf/fir_avx.h"

namespace hf::fir_avx {

namespace {

typedef float Eight __attribute__((vector_size(32)));

}  // namespace

template <int Factor, bool ComplexTaps>
void outputs(const fir_lanes::Taps& taps, const fir_lanes::Lines<Factor>& lines, std::size_t g, std::size_t end,
             float* out) {
    fir_lanes::outputs<Eight, Factor, ComplexTaps>(taps, lines, g, end, out);
}

template void outputs<5, false>(const fir_lanes::Taps&, const fir_lanes::Lines<5>&, std::size_t, std::size_t, float*);
template void outputs<4, false>(const fir_lanes::Taps&, const fir_lanes::Lines<4>&, std::size_t, std::size_t, float*);
template void outputs<1, true>(const fir_lanes::Taps&, const fir_lanes::Lines<1>&, std::size_t, std::size_t, float*);
template void outputs<1, false>(const fir_lanes::Taps&, const fir_lanes::Lines<1>&, std::size_t, std::size_t, float*);

}  // namespace hf::fir_avx
