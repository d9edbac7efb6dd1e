#pragma once
// FIR filtering for the receive chain, several outputs at a time.
//
// Consecutive outputs are computed side by side, one lane each, and every lane
// is the same ordered sum that a one-output-at-a-time loop over a ring would
// form: tap 0 with the newest sample first, single precision throughout. The
// lanes only buy speed (the sums of one output stay sequential, so nothing is
// reassociated); results are bit for bit those of the plain loop.

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

inline float lane(float v, std::size_t) { return v; }
inline float lane(Four v, std::size_t i) { return v[i]; }

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

}  // namespace fir_lanes

// A FIR filter that keeps one output in every `Factor` inputs (a decimator;
// Factor 1 filters every sample). Taps are real (float) or complex.
//
// The input is held split into real and imaginary parts and dealt over
// `Factor` phase lines (the t-th input since a clear goes to line t mod
// Factor), so the samples that consecutive outputs read are adjacent in
// memory. Lines grow while inputs are pushed; once they hold well over what
// any later output reads, a drain drops their oldest samples. Their storage is
// kept, so a steady stream allocates nothing.
template <class Tap, int Factor>
class FirFilter {
public:
    static_assert(Factor >= 1);

    FirFilter() { clear(); }
    explicit FirFilter(std::vector<Tap> taps) : taps_(std::move(taps)) { clear(); }

    const std::vector<Tap>& taps() const { return taps_; }

    // Silence in the history; the next input starts a new group of Factor.
    void clear() {
        for (int s = 0; s < Factor; ++s) {
            re_[s].assign(reach(), 0.0f);
            im_[s].assign(reach(), 0.0f);
        }
        next_ = reach();
        phase_ = 0;
    }

    // Inputs since the last output (0 … Factor − 1).
    int phase() const { return phase_; }

    void push(std::complex<float> x) {
        re_[phase_].push_back(x.real());
        im_[phase_].push_back(x.imag());
        if (++phase_ == Factor) phase_ = 0;
    }

    // Replaces out by every output completed since the last drain, oldest first.
    void drain(std::vector<std::complex<float>>& out) {
        const std::size_t groups = re_[Factor - 1].size();
        out.resize(groups - next_);
        std::size_t g = next_;
        std::complex<float>* o = out.data();
        constexpr std::size_t wide = wideVectors * fir_lanes::width<fir_lanes::Four>;
        for (; g + wide <= groups; g += wide, o += wide) outputs<fir_lanes::Four, wideVectors>(g, o);
        for (; g < groups; ++g, ++o) outputs<float, 1>(g, o);
        next_ = groups;
        if (groups > reach() + slack) forget(groups - reach());
    }

private:
    // Vectors of four outputs computed together.
    static constexpr std::size_t wideVectors = 2;
    // Groups kept beyond the reach before the lines are moved back, so that
    // draining a few outputs at a time does not move the history each time.
    static constexpr std::size_t slack = 1024;

    // Past groups an output reads besides its own (a bound on (taps − 1) / Factor).
    std::size_t reach() const { return taps_.size() / Factor; }

    // Outputs of Count × width<V> consecutive groups from g on. A group's
    // newest sample is on the last line; tap j reads line Factor − 1 − j mod
    // Factor, j / Factor groups back.
    template <class V, std::size_t Count>
    void outputs(std::size_t g, std::complex<float>* out) const {
        constexpr std::size_t w = fir_lanes::width<V>;
        V accRe[Count] = {};
        V accIm[Count] = {};
        const std::size_t n = taps_.size();
        for (std::size_t j = 0, back = 0; j < n; ++back) {
            for (int r = 0; r < Factor && j < n; ++r, ++j) {
                const int line = Factor - 1 - r;
                const float* xRe = re_[line].data() + (g - back);
                const float* xIm = im_[line].data() + (g - back);
                for (std::size_t c = 0; c < Count; ++c)
                    fir_lanes::accumulate(taps_[j], fir_lanes::load<V>(xRe + c * w),
                                          fir_lanes::load<V>(xIm + c * w), accRe[c], accIm[c]);
            }
        }
        for (std::size_t c = 0; c < Count; ++c)
            for (std::size_t i = 0; i < w; ++i)
                out[c * w + i] = {fir_lanes::lane(accRe[c], i), fir_lanes::lane(accIm[c], i)};
    }

    // Drops the oldest groups, which no later output reads.
    void forget(std::size_t groups) {
        for (int s = 0; s < Factor; ++s) {
            re_[s].erase(re_[s].begin(), re_[s].begin() + static_cast<std::ptrdiff_t>(groups));
            im_[s].erase(im_[s].begin(), im_[s].begin() + static_cast<std::ptrdiff_t>(groups));
        }
        next_ -= groups;
    }

    std::vector<Tap> taps_;
    std::array<std::vector<float>, Factor> re_;
    std::array<std::vector<float>, Factor> im_;
    std::size_t next_ = 0;  // line position of the next group to output
    int phase_ = 0;
};

}  // namespace hf
