#pragma once
// In-place forward FFT of a power-of-two number of single-precision samples.

#include <complex>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace hf {

// Transforms of one size. Every stage's twiddles are worked out once, by the
// same repeated multiplication that a transform computing them as it goes
// would use, so the results are that transform's to the bit.
class Fft {
public:
    // Throws std::invalid_argument for 0 or a size that is not a power of two.
    explicit Fft(std::size_t n);

    // The transform of n samples held as real and imaginary parts, in place.
    void transform(float* re, float* im) const;

private:
    std::size_t n_;
    std::vector<std::pair<uint32_t, uint32_t>> swaps_;  // the bit-reversal permutation
    // Stage len's twiddles 0 … len/2 − 1 start at len/2 − 1.
    std::vector<float> twiddleRe_;
    std::vector<float> twiddleIm_;
};

// Replaces a by its unscaled transform X[f] = sum a[t] e^(-2 pi j f t / n).
// Throws std::invalid_argument for an empty or non-power-of-two vector,
// leaving it untouched.
void fft(std::vector<std::complex<float>>& a);

}  // namespace hf
