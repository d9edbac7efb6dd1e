#pragma once
// FIR filtering for the receive chain, several outputs at a time (see
// fir_lanes.h); results are bit for bit those of a plain loop over a ring.

#include <algorithm>
#include <array>
#include <complex>
#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

#include "hf/fir_avx.h"
#include "hf/fir_lanes.h"
#include "hf/vector_path.h"

namespace hf {

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
    explicit FirFilter(std::vector<Tap> taps) : taps_(std::move(taps)) {
        for (const Tap& t : taps_) {
            tapRe_.push_back(std::real(t));
            tapIm_.push_back(std::imag(t));
        }
        realTaps_ = std::all_of(tapIm_.begin(), tapIm_.end(), [](float t) { return t == 0.0f; });
        clear();
    }

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
        out.resize(end_ - next_);
        const fir_lanes::Taps taps{tapRe_.data(), tapIm_.data(), tapRe_.size()};
        fir_lanes::Lines<Factor> lines;
        for (int s = 0; s < Factor; ++s) {
            lines.re[s] = re_[s].data();
            lines.im[s] = im_[s].data();
        }
        auto* o = reinterpret_cast<float*>(out.data());
        if constexpr (std::is_same_v<Tap, float>)
            outputs<false>(taps, lines, o);
        else if (realTaps_)
            outputs<false>(taps, lines, o);
        else
            outputs<true>(taps, lines, o);
        next_ = end_;
    }

private:
    // Groups the lines hold beyond the reach: room for the largest batches.
    static constexpr std::size_t slack = 4096;
    // Readable floats past a line's capacity, for the spare lanes of the
    // widest vector.
    static constexpr std::size_t padding = 8;

    template <bool ComplexTaps>
    void outputs(const fir_lanes::Taps& taps, const fir_lanes::Lines<Factor>& lines, float* out) const {
        if (wideVectorsInUse())
            fir_avx::outputs<Factor, ComplexTaps>(taps, lines, next_, end_, out);
        else
            fir_lanes::outputs<fir_lanes::Four, Factor, ComplexTaps>(taps, lines, next_, end_, out);
    }

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

    std::vector<Tap> taps_;
    std::vector<float> tapRe_;
    std::vector<float> tapIm_;
    // Complex taps whose imaginary parts are all zero (a passband centred on
    // 0 Hz) are filtered as real ones. That drops only products of ±0, which
    // change no sum: every sum starts at +0, so it is never −0, and adding a
    // zero of either sign leaves it as it is (the samples are always finite).
    bool realTaps_ = true;
    std::array<std::vector<float>, Factor> re_;
    std::array<std::vector<float>, Factor> im_;
    std::size_t capacity_ = 0;  // groups a line holds
    std::size_t end_ = 0;       // groups complete on every line
    std::size_t next_ = 0;      // the next group to output
    int phase_ = 0;
};

}  // namespace hf
