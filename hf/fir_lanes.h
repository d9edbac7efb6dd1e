#pragma once
// The FIR filters' arithmetic: runs of consecutive outputs computed side by
// side, one output per vector lane. Every lane forms the ordered sum that a
// one-output-at-a-time loop over a ring would: tap 0 with the newest sample
// first, each product rounded before it is added, single precision. Lanes are
// independent, so the vector width changes nothing in the results.
//
// Written for any GCC vector of floats, so that the same text serves the
// baseline x86-64 build and the AVX unit (fir_avx.cpp). Its functions have
// internal linkage and call nothing else with code of its own: each unit
// keeps its own copies, so the linker can never hand a baseline caller one
// compiled for AVX.

#include <complex>
#include <cstddef>
#include <cstring>

namespace hf::fir_lanes {

// Four lanes as one value: GCC and Clang keep it in one vector register where
// the target has them (SSE2 on x86-64) and use scalar code elsewhere.
typedef float Four __attribute__((vector_size(16)));

template <class V>
constexpr std::size_t width = sizeof(V) / sizeof(float);

template <class V>
static V load(const float* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The lanes as complex values, real part first, written with whole-vector
// stores (so that reading a value back as one 8-byte load is not held up).
template <class V>
static void store(V re, V im, float* out) {
    V low;
    V high;
    if constexpr (width<V> == 4) {
        low = __builtin_shufflevector(re, im, 0, 4, 1, 5);
        high = __builtin_shufflevector(re, im, 2, 6, 3, 7);
    } else {
        static_assert(width<V> == 8);
        low = __builtin_shufflevector(re, im, 0, 8, 1, 9, 2, 10, 3, 11);
        high = __builtin_shufflevector(re, im, 4, 12, 5, 13, 6, 14, 7, 15);
    }
    std::memcpy(out, &low, sizeof low);
    std::memcpy(out + width<V>, &high, sizeof high);
}

// Taps as real and imaginary parts; without imaginary parts they are real.
struct Taps {
    const float* re;
    const float* im;
    std::size_t count;
};

// The input dealt over Factor phase lines (see FirFilter): re[s] and im[s]
// point at line s's parts.
template <int Factor>
struct Lines {
    const float* re[Factor];
    const float* im[Factor];
};

template <class V, std::size_t Count>
struct Sums {
    V re[Count];
    V im[Count];
};

// Count × width<V> outputs from group g on. A group's newest sample is on the
// last line; tap j reads line Factor − 1 − j mod Factor, j / Factor groups
// back. acc += tap × x is rounded as std::complex<float> rounds it.
template <class V, std::size_t Count, int Factor, bool ComplexTaps>
static Sums<V, Count> sums(const Taps& taps, const Lines<Factor>& lines, std::size_t g) {
    // Local sums, which the compiler keeps in registers.
    V accRe[Count] = {};
    V accIm[Count] = {};
    constexpr std::size_t w = width<V>;
    for (std::size_t j = 0, back = 0; j < taps.count; ++back) {
        for (int r = 0; r < Factor && j < taps.count; ++r, ++j) {
            const int line = Factor - 1 - r;
            const float* xRe = lines.re[line] + (g - back);
            const float* xIm = lines.im[line] + (g - back);
            const float tr = taps.re[j];
            for (std::size_t c = 0; c < Count; ++c) {
                const V re = load<V>(xRe + c * w);
                const V im = load<V>(xIm + c * w);
                if constexpr (ComplexTaps) {
                    const float ti = taps.im[j];
                    accRe[c] += tr * re - ti * im;
                    accIm[c] += tr * im + ti * re;
                } else {
                    accRe[c] += tr * re;
                    accIm[c] += tr * im;
                }
            }
        }
    }
    Sums<V, Count> s;
    for (std::size_t c = 0; c < Count; ++c) {
        s.re[c] = accRe[c];
        s.im[c] = accIm[c];
    }
    return s;
}

// The outputs of groups [g, end) into out, interleaved real and imaginary
// parts. The last few take a whole vector; its lanes past end read the lines'
// padding (width<V> − 1 floats) and are dropped.
template <class V, int Factor, bool ComplexTaps>
static void outputs(const Taps& taps, const Lines<Factor>& lines, std::size_t g, std::size_t end, float* out) {
    constexpr std::size_t w = width<V>;
    constexpr std::size_t count = 4;
    for (; g + count * w <= end; g += count * w, out += 2 * count * w) {
        const auto s = sums<V, count, Factor, ComplexTaps>(taps, lines, g);
        for (std::size_t c = 0; c < count; ++c) store(s.re[c], s.im[c], out + 2 * c * w);
    }
    for (; g < end; g += w, out += 2 * w) {
        const auto s = sums<V, 1, Factor, ComplexTaps>(taps, lines, g);
        if (g + w <= end) {
            store(s.re[0], s.im[0], out);
            continue;
        }
        float last[2 * w];
        store(s.re[0], s.im[0], last);
        std::memcpy(out, last, 2 * (end - g) * sizeof(float));
    }
}

}  // namespace hf::fir_lanes
