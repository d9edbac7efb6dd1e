#include "hf/fft.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace hf {

namespace {

// The butterflies of one block: u and x are its halves, w the stage's
// twiddles. Each k is its own butterfly, so the compiler may take several at
// once; the regions never overlap.
void butterflies(float* __restrict uRe, float* __restrict uIm, float* __restrict xRe, float* __restrict xIm,
                 const float* __restrict wRe, const float* __restrict wIm, std::size_t half) {
    for (std::size_t k = 0; k < half; ++k) {
        const float vRe = xRe[k] * wRe[k] - xIm[k] * wIm[k];
        const float vIm = xRe[k] * wIm[k] + xIm[k] * wRe[k];
        const float ur = uRe[k];
        const float ui = uIm[k];
        uRe[k] = ur + vRe;
        uIm[k] = ui + vIm;
        xRe[k] = ur - vRe;
        xIm[k] = ui - vIm;
    }
}

}  // namespace

Fft::Fft(std::size_t n) : n_(n) {
    if (n == 0 || (n & (n - 1)) != 0) throw std::invalid_argument("FFT power of two");
    // The reversed counter runs as j; i and j swap where i < j.
    std::size_t j = 0;
    for (std::size_t i = 1; i < n; ++i) {
        std::size_t bit = n / 2;
        for (; j & bit; bit /= 2) j &= ~bit;
        j |= bit;
        if (i < j) swaps_.emplace_back(static_cast<uint32_t>(i), static_cast<uint32_t>(j));
    }
    twiddleRe_.reserve(n);
    twiddleIm_.reserve(n);
    for (std::size_t len = 2; len <= n; len *= 2) {
        const auto phi = static_cast<float>(-2.0 * std::numbers::pi / static_cast<double>(len));
        const float stepRe = std::cos(phi);
        const float stepIm = std::sin(phi);
        float wRe = 1.0f;
        float wIm = 0.0f;
        for (std::size_t k = 0; k < len / 2; ++k) {
            twiddleRe_.push_back(wRe);
            twiddleIm_.push_back(wIm);
            const float re = wRe * stepRe - wIm * stepIm;
            wIm = wRe * stepIm + wIm * stepRe;
            wRe = re;
        }
    }
}

void Fft::transform(float* re, float* im) const {
    for (const auto& [i, j] : swaps_) {
        std::swap(re[i], re[j]);
        std::swap(im[i], im[j]);
    }
    for (std::size_t half = 1; half < n_; half *= 2) {
        const float* wRe = twiddleRe_.data() + (half - 1);
        const float* wIm = twiddleIm_.data() + (half - 1);
        for (std::size_t s = 0; s < n_; s += 2 * half)
            butterflies(re + s, im + s, re + s + half, im + s + half, wRe, wIm, half);
    }
}

void fft(std::vector<std::complex<float>>& a) {
    const Fft plan(a.size());
    std::vector<float> re(a.size());
    std::vector<float> im(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        re[i] = a[i].real();
        im[i] = a[i].imag();
    }
    plan.transform(re.data(), im.data());
    for (std::size_t i = 0; i < a.size(); ++i) a[i] = {re[i], im[i]};
}

}  // namespace hf
