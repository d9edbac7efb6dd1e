#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "hf/bandpass.h"
#include "hf/fft.h"
#include "hf/fir.h"
#include "hf/lowpass.h"
#include "tests/support/vector_widths.h"

namespace {

using Complex = std::complex<float>;
using Samples = std::vector<Complex>;

constexpr double twoPi = 2.0 * std::numbers::pi;

Samples tone48k(std::size_t n, double hz, double amplitude = 1.0) {
    Samples out(n);
    for (std::size_t t = 0; t < n; ++t)
        out[t] = Complex(std::polar(amplitude, twoPi * hz * static_cast<double>(t) / 48000.0));
    return out;
}

Samples noise(std::size_t n, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    Samples out(n);
    for (Complex& x : out) {
        const float re = uniform(random);
        x = Complex(re, uniform(random));
    }
    return out;
}

// ---- FFT

TEST(Fft, ToneLandsInItsBin) {
    Samples a(4096);
    for (std::size_t t = 0; t < a.size(); ++t)
        a[t] = Complex(std::polar(1.0, twoPi * 5.0 * static_cast<double>(t) / 4096.0));
    hf::fft(a);
    EXPECT_NEAR(std::abs(a[5]), 4096.0f, 0.05f);
    for (std::size_t f = 0; f < a.size(); ++f) {
        if (f == 5) continue;
        ASSERT_LT(std::abs(a[f]), 0.05f) << "bin " << f;
    }
}

TEST(Fft, MatchesTheDirectTransform) {
    const Samples input = noise(64, 7);
    Samples a = input;
    hf::fft(a);
    const std::size_t n = input.size();
    for (std::size_t f = 0; f < n; ++f) {
        std::complex<double> expected;
        for (std::size_t t = 0; t < n; ++t)
            expected += std::complex<double>(input[t]) * std::polar(1.0, -twoPi * double(f * t % n) / double(n));
        EXPECT_NEAR(a[f].real(), expected.real(), 1e-4) << "bin " << f;
        EXPECT_NEAR(a[f].imag(), expected.imag(), 1e-4) << "bin " << f;
    }
}

class FftSize : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FftSize, RefusesWhatIsNotAPowerOfTwoAndLeavesItUntouched) {
    const Samples input = noise(GetParam(), 3);
    Samples a = input;
    try {
        hf::fft(a);
        FAIL() << "no exception";
    } catch (const std::invalid_argument& e) {
        EXPECT_EQ(std::string(e.what()), "FFT power of two");
    }
    EXPECT_EQ(a, input);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FftSize, ::testing::Values(0, 3, 4095));

TEST(Fft, SizeOneIsItsOwnTransform) {
    Samples a{Complex(0.25f, -3.0f)};
    hf::fft(a);
    EXPECT_EQ(a, Samples{Complex(0.25f, -3.0f)});
}

// ---- Band-pass design and response

TEST(Bandpass, CentredPassbandHasRealSymmetricTapsSummingToOne) {
    hf::Bandpass bp;
    EXPECT_TRUE(bp.taps().empty());
    bp.configure(-250.0, 250.0);
    const Samples& taps = bp.taps();
    ASSERT_EQ(taps.size(), hf::Bandpass::length);
    double sum = 0.0;
    for (std::size_t k = 0; k < taps.size(); ++k) {
        EXPECT_EQ(taps[k].imag(), 0.0f) << k;
        EXPECT_EQ(taps[k].real(), taps[taps.size() - 1 - k].real()) << k;
        sum += taps[k].real();
    }
    EXPECT_NEAR(sum, 1.0, 1e-5);
    EXPECT_LT(std::abs(taps.front()), 1e-12f);
    EXPECT_LT(std::abs(taps.back()), 1e-12f);
    EXPECT_GT(taps[256].real(), 0.0f);
}

struct Response {
    double lo;
    double hi;
    double hz;
    bool passes;
};

class BandpassResponse : public ::testing::TestWithParam<Response> {};

// Gain for a steady complex tone, once the 513 taps are full.
TEST_P(BandpassResponse, PassesItsBandAndStopsTheRest) {
    const Response r = GetParam();
    hf::Bandpass bp;
    bp.configure(r.lo, r.hi);
    Samples out;
    bp.filter(tone48k(2000, r.hz), out);
    float gain = 0.0f;
    for (std::size_t t = 1000; t < out.size(); ++t) gain = std::max(gain, std::abs(out[t]));
    if (r.passes) {
        EXPECT_NEAR(gain, 1.0f, 0.01f);
    } else {
        EXPECT_LT(gain, 1e-3f);
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, BandpassResponse,
                         ::testing::Values(Response{150, 2850, 1500, true}, Response{150, 2850, -1500, false},
                                           Response{150, 2850, 400, true}, Response{-2850, -150, -1500, true},
                                           Response{-2850, -150, 1500, false}, Response{-250, 250, 0, true},
                                           Response{-250, 250, -30, true}, Response{-250, 250, 1000, false},
                                           Response{-250, 250, -1000, false}));

// ---- Batched filtering equals the plain ring loop, bit for bit

// The sum as a ring filter forms it: store, then taps[k] × history[newest − k]
// for k ascending, one output in every `factor` inputs.
template <class Tap>
Samples ringFilter(const std::vector<Tap>& taps, const Samples& input, int factor) {
    const std::size_t n = taps.size();
    Samples history(n);
    std::size_t pos = 0;
    int phase = 0;
    Samples out;
    for (const Complex& x : input) {
        const std::size_t newest = pos;
        history[newest] = x;
        pos = (newest + 1) % n;
        if (++phase < factor) continue;
        phase = 0;
        Complex acc{};
        for (std::size_t k = 0; k < n; ++k) acc += taps[k] * history[(newest + n - k) % n];
        out.push_back(acc);
    }
    return out;
}

void expectSameBits(const Samples& actual, const Samples& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(std::bit_cast<uint32_t>(actual[i].real()), std::bit_cast<uint32_t>(expected[i].real())) << i;
        ASSERT_EQ(std::bit_cast<uint32_t>(actual[i].imag()), std::bit_cast<uint32_t>(expected[i].imag())) << i;
    }
}

// Uneven batches, so that outputs fall in the wide lanes, the single lane and
// across batch ends, enough of them for the history to be moved back several
// times, and one longer than the history's room, which must grow.
const std::vector<std::size_t> batches = [] {
    const std::vector<std::size_t> uneven{1, 7, 8, 300, 3, 64, 9, 17, 1, 200, 95, 1500, 5000};
    std::vector<std::size_t> all;
    for (int i = 0; i < 4; ++i) all.insert(all.end(), uneven.begin(), uneven.end());
    return all;
}();

void expectBandpassMatchesRing() {
    hf::Bandpass bp;
    bp.configure(150.0, 2850.0);
    const Samples input = noise(std::accumulate(batches.begin(), batches.end(), std::size_t{0}), 11);
    Samples out;
    Samples batch;
    auto at = input.begin();
    for (const std::size_t n : batches) {
        if (n == 1) {
            out.push_back(bp.filter(*at++));
            continue;
        }
        bp.filter(Samples(at, at + static_cast<std::ptrdiff_t>(n)), batch);
        out.insert(out.end(), batch.begin(), batch.end());
        at += static_cast<std::ptrdiff_t>(n);
    }
    expectSameBits(out, ringFilter(bp.taps(), input, 1));
}

TEST(BatchedFilter, BandpassMatchesTheRingSum) {
    for (const bool wide : hf_test::vectorWidths()) {
        SCOPED_TRACE(hf_test::vectorWidthName(wide));
        const hf_test::VectorWidth width(wide);
        expectBandpassMatchesRing();
    }
}

template <int Factor>
void expectDecimatorMatchesRing(int tapCount, double cutoff, double rate) {
    hf::FirFilter<float, Factor> fir(hf::lowPassTaps(tapCount, cutoff, rate));
    const Samples input = noise(Factor * std::accumulate(batches.begin(), batches.end(), std::size_t{0}), 5);
    Samples out;
    Samples batch;
    auto at = input.begin();
    for (const std::size_t n : batches) {
        for (std::size_t i = 0; i < n * Factor - 1; ++i) fir.push(*at++);
        fir.drain(batch);
        out.insert(out.end(), batch.begin(), batch.end());
        fir.push(*at++);
    }
    fir.drain(batch);
    out.insert(out.end(), batch.begin(), batch.end());
    expectSameBits(out, ringFilter(fir.taps(), input, Factor));
}

TEST(BatchedFilter, DecimatorsMatchTheRingSum) {
    for (const bool wide : hf_test::vectorWidths()) {
        SCOPED_TRACE(hf_test::vectorWidthName(wide));
        const hf_test::VectorWidth width(wide);
        expectDecimatorMatchesRing<5>(101, 65000.0, 960000.0);
        expectDecimatorMatchesRing<4>(129, 19000.0, 192000.0);
    }
}

TEST(LowPassDesign, PassesZeroHertzWithGainOne) {
    const std::vector<float> taps = hf::lowPassTaps(101, 65000.0, 960000.0);
    ASSERT_EQ(taps.size(), 101u);
    EXPECT_NEAR(std::accumulate(taps.begin(), taps.end(), 0.0), 1.0, 1e-6);
    // The centre tap before normalisation is 2 × 65000 / 960000.
    EXPECT_NEAR(taps[50], 0.1354167, 1e-4);
}

}  // namespace
