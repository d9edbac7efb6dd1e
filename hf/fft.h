#pragma once
// In-place forward FFT of a power-of-two number of single-precision samples.

#include <complex>
#include <vector>

namespace hf {

// Replaces a by its unscaled transform X[f] = sum a[t] e^(-2 pi j f t / n).
// Throws std::invalid_argument for an empty or non-power-of-two vector,
// leaving it untouched.
void fft(std::vector<std::complex<float>>& a);

}  // namespace hf
