#include "hf/fft.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace hf {

namespace {

void bitReverse(std::vector<std::complex<float>>& a) {
    const std::size_t n = a.size();
    std::size_t j = 0;
    for (std::size_t i = 1; i < n; ++i) {
        std::size_t bit = n / 2;
        for (; j & bit; bit /= 2) j &= ~bit;
        j |= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
}

}  // namespace

void fft(std::vector<std::complex<float>>& a) {
    const std::size_t n = a.size();
    if (n == 0 || (n & (n - 1)) != 0) throw std::invalid_argument("FFT power of two");
    if (n == 1) return;
    bitReverse(a);
    for (std::size_t len = 2; len <= n; len *= 2) {
        const auto phi = static_cast<float>(-2.0 * std::numbers::pi / static_cast<double>(len));
        const std::complex<float> wlen(std::cos(phi), std::sin(phi));
        const std::size_t half = len / 2;
        for (std::size_t s = 0; s < n; s += len) {
            std::complex<float> w(1.0f, 0.0f);
            for (std::size_t k = 0; k < half; ++k) {
                const std::complex<float> u = a[s + k];
                const std::complex<float> v = a[s + k + half] * w;
                a[s + k] = u + v;
                a[s + k + half] = u - v;
                w *= wlen;
            }
        }
    }
}

}  // namespace hf
