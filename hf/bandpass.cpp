#include "hf/bandpass.h"

#include <cmath>
#include <numbers>

#include "hf/lowpass.h"

namespace hf {

namespace {

constexpr double rate = 48000.0;

// The low-pass prototype of half the passband's width, moved up to its centre
// fc with a complex exponential.
std::vector<std::complex<float>> design(double halfWidth, double fc) {
    const std::vector<float> prototype = lowPassTaps(static_cast<int>(Bandpass::length), halfWidth, rate);
    const int half = static_cast<int>(Bandpass::length / 2);
    std::vector<std::complex<float>> taps(Bandpass::length);
    for (std::size_t k = 0; k < Bandpass::length; ++k) {
        const int m = static_cast<int>(k) - half;
        const auto theta = static_cast<float>(2.0 * std::numbers::pi * fc * m / rate);
        taps[k] = prototype[k] * std::complex<float>(std::cos(theta), std::sin(theta));
    }
    return taps;
}

}  // namespace

void Bandpass::configure(double lo, double hi) {
    fir_ = FirFilter<std::complex<float>, 1>(design((hi - lo) / 2.0, (lo + hi) / 2.0));
}

std::complex<float> Bandpass::filter(std::complex<float> y) {
    fir_.push(y);
    fir_.drain(single_);
    return single_.front();
}

void Bandpass::filter(const std::vector<std::complex<float>>& in, std::vector<std::complex<float>>& out) {
    fir_.push(in);
    fir_.drain(out);
}

}  // namespace hf
