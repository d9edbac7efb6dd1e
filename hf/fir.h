#pragma once
// FIR filtering for the receive chain, several outputs at a time.
//
// Consecutive outputs are computed side by side, one lane each, and every lane
// is the same ordered sum that a one-output-at-a-time loop over a ring would
// form: tap 0 with the newest sample first, single precision throughout. The
// lanes only buy speed (the sums of one output stay sequential, so nothing is
// reassociated); results are bit for bit those of the plain loop.

#include <algorithm>
#include <array>
#include <complex>
#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

namespace hf {

namespace fir_lanes {

// Four lanes as one value: GCC and Clang keep it in one vector register where
// the target has them (SSE2 on x86-64) and use scalar code elsewhere.
typedef float Four __attribute__((vector_size(16)));

template <class V>
constexpr std::size_t width = sizeof(V) / sizeof(float);

template <class V>
V load(const float* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// acc += tap × x in every lane, rounded as std::complex<float> rounds it.
template <class V>
void accumulate(float tap, V xRe, V xIm, V& accRe, V& accIm) {
    accRe += tap * xRe;
    accIm += tap * xIm;
}

template <class V>
void accumulate(std::complex<float> tap, V xRe, V xIm, V& accRe, V& accIm) {
    const float tr = tap.real();
    const float ti = tap.imag();
    accRe += tr * xRe - ti * xIm;
    accIm += tr * xIm + ti * xRe;
}

// The lanes as complex values, real part first, written with whole-vector
// stores (so that reading a value back as one 8-byte load is not held up).
inline void store(Four re, Four im, std::complex<float>* out) {
    const Four low = __builtin_shufflevector(re, im, 0, 4, 1, 5);
    const Four high = __builtin_shufflevector(re, im, 2, 6, 3, 7);
    std::memcpy(static_cast<void*>(out), &low, sizeof low);
    std::memcpy(static_cast<void*>(out + 2), &high, sizeof high);
}

template <class V, std::size_t Count>
struct Sums {
    V re[Count];
    V im[Count];
};

// Count × width<V> outputs of a filter whose input is dealt over Factor phase
// lines (see FirFilter), from group g on; lines[s] points at line s's real
// parts and lines[Factor + s] at its imaginary parts. A group's newest sample
// is on the last line; tap j reads line Factor − 1 − j mod Factor, j / Factor
// groups back.
template <class V, std::size_t Count, int Factor, class Tap>
Sums<V, Count> outputs(const Tap* taps, std::size_t n, const float* const* lines, std::size_t g) {
    // Local sums, which the compiler keeps in registers.
    V accRe[Count] = {};
    V accIm[Count] = {};
    constexpr std::size_t w = width<V>;
    for (std::size_t j = 0, back = 0; j < n; ++back) {
        for (int r = 0; r < Factor && j < n; ++r, ++j) {
            const int line = Factor - 1 - r;
            const float* xRe = lines[line] + (g - back);
            const float* xIm = lines[Factor + line] + (g - back);
            for (std::size_t c = 0; c < Count; ++c)
                accumulate(taps[j], load<V>(xRe + c * w), load<V>(xIm + c * w), accRe[c], accIm[c]);
        }
    }
    Sums<V, Count> sums;
    for (std::size_t c = 0; c < Count; ++c) {
        sums.re[c] = accRe[c];
        sums.im[c] = accIm[c];
    }
    return sums;
}

}  // namespace fir_lanes

// A FIR filter that keeps one output in every `Factor` inputs (a decimator;
// Factor 1 filters every sample). Taps are real (float) or complex.
//
// The input is held split into real and imaginary parts and dealt over
// `Factor` phase lines (the t-th input since a clear goes to line t mod
// Factor), so the samples that consecutive outputs read are adjacent in
// memory. The lines are sized ahead; when one fills, the history that later
// outputs still read is moved back to its start, so a steady stream neither
// allocates nor moves its history often.
template <class Tap, int Factor>
class FirFilter {
public:
    static_assert(Factor >= 1);

    FirFilter() { clear(); }
    explicit FirFilter(std::vector<Tap> taps) : taps_(std::move(taps)) { clear(); }

    const std::vector<Tap>& taps() const { return taps_; }

    // Silence in the history; the next input starts a new group of Factor.
    void clear() {
        capacity_ = reach() + slack;
        for (int s = 0; s < Factor; ++s) {
            re_[s].assign(capacity_ + padding, 0.0f);
            im_[s].assign(capacity_ + padding, 0.0f);
        }
        end_ = next_ = reach();
        phase_ = 0;
    }

    // Inputs since the last output (0 … Factor − 1).
    int phase() const { return phase_; }

    void push(std::complex<float> x) {
        makeRoom(1);
        store(x);
    }

    void push(const std::vector<std::complex<float>>& in) {
        makeRoom(in.size());
        for (const std::complex<float>& x : in) store(x);
    }

    // Pushes n inputs, each the value of next(), called in order.
    template <class Next>
    void push(std::size_t n, Next&& next) {
        makeRoom(n);
        for (; n > 0 && phase_ != 0; --n) store(next());
        // Whole groups with the lines' positions held locally.
        std::array<float*, Factor> re;
        std::array<float*, Factor> im;
        for (int s = 0; s < Factor; ++s) {
            re[s] = re_[s].data() + end_;
            im[s] = im_[s].data() + end_;
        }
        const std::size_t groups = n / Factor;
        for (std::size_t g = 0; g < groups; ++g) {
            for (int s = 0; s < Factor; ++s) {
                const std::complex<float> x = next();
                re[s][g] = x.real();
                im[s][g] = x.imag();
            }
        }
        end_ += groups;
        for (n -= groups * Factor; n > 0; --n) store(next());
    }

    // Replaces out by every output completed since the last drain, oldest first.
    void drain(std::vector<std::complex<float>>& out) {
        using fir_lanes::Four;
        out.resize(end_ - next_);
        std::complex<float>* o = out.data();
        constexpr std::size_t w = fir_lanes::width<Four>;
        std::size_t g = next_;
        for (; g + wideVectors * w <= end_; g += wideVectors * w, o += wideVectors * w)
            write<wideVectors>(g, o, wideVectors * w);
        // The rest a vector at a time; lanes past the last group read the
        // padding and are dropped.
        for (; g < end_; g += w, o += w) write<1>(g, o, std::min(w, end_ - g));
        next_ = end_;
    }

private:
    // Vectors of four outputs computed together.
    static constexpr std::size_t wideVectors = 4;
    // Groups the lines hold beyond the reach: room for the largest batches.
    static constexpr std::size_t slack = 4096;
    // Readable floats past a line's capacity, for the last vector's spare lanes.
    static constexpr std::size_t padding = 8;

    // Past groups an output reads besides its own (a bound on (taps − 1) / Factor).
    std::size_t reach() const { return taps_.size() / Factor; }

    void store(std::complex<float> x) {
        re_[phase_][end_] = x.real();
        im_[phase_][end_] = x.imag();
        if (++phase_ == Factor) {
            phase_ = 0;
            ++end_;
        }
    }

    // Room for n more inputs, a partly filled group included.
    void makeRoom(std::size_t n) {
        const std::size_t needed = (static_cast<std::size_t>(phase_) + n) / Factor + 1;
        if (end_ + needed <= capacity_) return;
        // What the next output reads, and the inputs of a group begun.
        const std::size_t from = next_ - reach();
        for (int s = 0; s < Factor; ++s) {
            std::copy(re_[s].begin() + static_cast<std::ptrdiff_t>(from),
                      re_[s].begin() + static_cast<std::ptrdiff_t>(end_ + 1), re_[s].begin());
            std::copy(im_[s].begin() + static_cast<std::ptrdiff_t>(from),
                      im_[s].begin() + static_cast<std::ptrdiff_t>(end_ + 1), im_[s].begin());
        }
        end_ -= from;
        next_ -= from;
        if (end_ + needed > capacity_) {
            capacity_ = end_ + needed;
            for (int s = 0; s < Factor; ++s) {
                re_[s].resize(capacity_ + padding);
                im_[s].resize(capacity_ + padding);
            }
        }
    }

    // Outputs of Count vectors from group g on, the first `keep` of them into out.
    template <std::size_t Count>
    void write(std::size_t g, std::complex<float>* out, std::size_t keep) const {
        using fir_lanes::Four;
        std::array<const float*, 2 * Factor> lines;
        for (int s = 0; s < Factor; ++s) {
            lines[s] = re_[s].data();
            lines[Factor + s] = im_[s].data();
        }
        const auto sums = fir_lanes::outputs<Four, Count, Factor>(taps_.data(), taps_.size(), lines.data(), g);
        constexpr std::size_t w = fir_lanes::width<Four>;
        if (keep == Count * w) {
            for (std::size_t c = 0; c < Count; ++c) fir_lanes::store(sums.re[c], sums.im[c], out + c * w);
            return;
        }
        for (std::size_t i = 0; i < keep; ++i) out[i] = {sums.re[0][i], sums.im[0][i]};
    }

    std::vector<Tap> taps_;
    std::array<std::vector<float>, Factor> re_;
    std::array<std::vector<float>, Factor> im_;
    std::size_t capacity_ = 0;  // groups a line holds
    std::size_t end_ = 0;       // groups complete on every line
    std::size_t next_ = 0;      // the next group to output
    int phase_ = 0;
};

}  // namespace hf
