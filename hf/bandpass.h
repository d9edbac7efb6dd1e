#pragma once
// Complex band-pass FIR of 513 taps that selects the listening passband of the
// 48 kHz stream; asymmetric passbands keep one sideband.

#include <complex>
#include <cstddef>
#include <vector>

#include "hf/fir.h"

namespace hf {

class Bandpass {
public:
    static constexpr std::size_t length = 513;

    // Passband [lo, hi] in Hz around the listen frequency at 0 Hz (lo < hi);
    // designs new taps and restarts the filter from silence.
    void configure(double lo, double hi);

    std::complex<float> filter(std::complex<float> y);

    // Filters a run of samples; the same results as filtering them one by one.
    void filter(const std::vector<std::complex<float>>& in, std::vector<std::complex<float>>& out);

    // Empty until the first configuration.
    const std::vector<std::complex<float>>& taps() const { return fir_.taps(); }

private:
    FirFilter<std::complex<float>, 1> fir_;
    std::vector<std::complex<float>> single_;
};

}  // namespace hf
