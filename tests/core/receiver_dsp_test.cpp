#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "hf/bandpass.h"
#include "hf/receiver_dsp.h"
#include "tests/support/iq_signal.h"
#include "tests/support/morse_keying.h"

namespace {

using Complex = std::complex<float>;
using hf_test::pairsPerMs;

constexpr double twoPi = 2.0 * std::numbers::pi;
constexpr std::size_t second = 960000;  // pairs
constexpr std::size_t audioRate = 48000;
constexpr std::size_t dongleBuffer = 32768;  // bytes

hf::Settings listening(int32_t mode, int32_t bandwidth) {
    hf::Settings s;
    s.Frequency = 7100000;
    s.Mode = mode;
    s.Bandwidth = bandwidth;
    return s;
}

// A chain with both sinks collecting what it produces.
struct Receiver {
    explicit Receiver(const hf::Settings& s) {
        dsp.configure(s);
        dsp.onAudio = [this](const std::vector<float>& block) {
            ++blocks;
            audio.insert(audio.end(), block.begin(), block.end());
        };
        dsp.onFrame = [this](hf::Frame f) { frames.push_back(std::move(f)); };
    }
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    void feed(const std::vector<uint8_t>& iq) {
        for (std::size_t at = 0; at < iq.size(); at += dongleBuffer)
            dsp.bytes(iq.data() + at, std::min(dongleBuffer, iq.size() - at));
    }

    std::string text() const {
        std::string all;
        for (const hf::Frame& f : frames) all += f.cwText;
        return all;
    }

    // The last `ms` of audio.
    std::vector<float> tail(std::size_t ms) const {
        const std::size_t n = std::min(audio.size(), ms * audioRate / 1000);
        return {audio.end() - static_cast<std::ptrdiff_t>(n), audio.end()};
    }

    hf::ReceiverDSP dsp;
    std::vector<float> audio;
    std::vector<hf::Frame> frames;
    int blocks = 0;
};

// Amplitude of the component at hz (a single-bin DFT).
double amplitudeAt(const std::vector<float>& x, double hz) {
    std::complex<double> sum;
    for (std::size_t n = 0; n < x.size(); ++n)
        sum += double(x[n]) * std::polar(1.0, -twoPi * hz * double(n) / double(audioRate));
    return 2.0 * std::abs(sum) / double(x.size());
}

double rms(const std::vector<float>& x) {
    double sum = 0.0;
    for (const float v : x) sum += double(v) * v;
    return std::sqrt(sum / double(x.size()));
}

double zeroCrossingHz(const std::vector<float>& x) {
    int crossings = 0;
    for (std::size_t n = 1; n < x.size(); ++n) crossings += (x[n - 1] < 0.0f) != (x[n] < 0.0f);
    return crossings / 2.0 * double(audioRate) / double(x.size());
}

std::size_t peakBin(const std::vector<float>& spectrum) {
    return static_cast<std::size_t>(std::max_element(spectrum.begin(), spectrum.end()) - spectrum.begin());
}

std::vector<uint8_t> noisy(hf_test::Baseband signal, double noiseRms, uint32_t seed = 1) {
    hf_test::addNoise(signal, noiseRms, seed);
    return hf_test::quantise(signal);
}

// ---- Demodulation

class AmTone : public ::testing::TestWithParam<double> {};

TEST_P(AmTone, ComesOutAtItsFrequencyAndTheAgcLevel) {
    const double toneHz = GetParam();
    Receiver rx(listening(0, 6000));
    rx.feed(noisy(hf_test::amTone(second, 0.0, 0.4, toneHz, 0.5), 0.02));
    const std::vector<float> tail = rx.tail(250);
    EXPECT_NEAR(zeroCrossingHz(tail), toneHz, toneHz * 0.01);
    const double amplitude = amplitudeAt(tail, toneHz);
    EXPECT_GT(amplitude, 0.13);
    EXPECT_LT(amplitude, 0.2);
    // Nearly all the audio is that tone.
    EXPECT_GT(amplitude / (std::numbers::sqrt2 * rms(tail)), 0.97);
}

INSTANTIATE_TEST_SUITE_P(Tones, AmTone, ::testing::Values(400.0, 1000.0, 2500.0));

struct Sideband {
    int32_t mode;
    double toneFromListen;
    bool passes;
};

class SidebandSelection : public ::testing::TestWithParam<Sideband> {};

TEST_P(SidebandSelection, KeepsOnlyItsOwnSide) {
    const Sideband c = GetParam();
    Receiver rx(listening(c.mode, 2700));
    rx.feed(hf_test::quantise(hf_test::tone(second / 2, c.toneFromListen, 0.5)));
    ASSERT_FALSE(rx.frames.empty());
    const float level = rx.frames.back().level;
    if (c.passes) {
        EXPECT_NEAR(level, 20.0 * std::log10(0.5), 0.5);
        EXPECT_NEAR(zeroCrossingHz(rx.tail(100)), std::abs(c.toneFromListen), 10.0);
    } else {
        EXPECT_LT(level, -60.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(UsbLsb, SidebandSelection,
                         ::testing::Values(Sideband{2, 1000.0, true}, Sideband{2, -1000.0, false},
                                           Sideband{3, -1000.0, true}, Sideband{3, 1000.0, false}));

TEST(FmDemodulation, AudioFollowsTheDeviationAtHalfGain) {
    double amplitudes[2];
    const double deviations[2] = {1000.0, 2000.0};
    for (int i = 0; i < 2; ++i) {
        Receiver rx(listening(1, 12000));
        rx.feed(noisy(hf_test::fmTone(second / 2, 0.0, 0.5, 500.0, deviations[i]), 0.02));
        amplitudes[i] = amplitudeAt(rx.tail(200), 500.0);
        // 2500 Hz of deviation makes 1.0 at the discriminator; FM gain is 0.5.
        EXPECT_NEAR(amplitudes[i], 0.5 * deviations[i] / 2500.0, 0.01) << deviations[i];
    }
    EXPECT_NEAR(amplitudes[1] / amplitudes[0], 2.0, 0.04);
}

// ---- CW decoding

struct Keying {
    int32_t mode;
    bool decode;
    bool autoSpeed;
    int32_t wpm;
    const char* expected;
};

class CwDecoding : public ::testing::TestWithParam<Keying> {};

TEST_P(CwDecoding, KeyedCarrierBecomesFrameText) {
    const Keying c = GetParam();
    hf::Settings s = listening(c.mode, 500);
    s.Decode = c.decode;
    s.AutoSpeed = c.autoSpeed;
    s.WPM = c.wpm;
    Receiver rx(s);
    const std::vector<bool> key = hf_test::keyMorse("CQ DE TEST", 20.0, 700, 1800);
    // 100 Hz off the listen frequency, well inside the 500 Hz filter.
    rx.feed(noisy(hf_test::keyedCarrier(key, 100.0, 0.3), 0.2, 9));
    EXPECT_EQ(rx.text(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Keyings, CwDecoding,
                         ::testing::Values(Keying{4, true, false, 20, "CQ DE TEST "},
                                           Keying{4, true, true, 15, "CQ DE TEST "},
                                           Keying{4, false, false, 20, ""},
                                           Keying{2, true, false, 20, ""}));

// ---- Level and spectra

struct Placement {
    uint32_t center;
    int32_t listenFromCentre;
    double toneFromListen;
    std::size_t narrowBin;
    std::size_t wideBin;
};

class SpectrumPlacement : public ::testing::TestWithParam<Placement> {};

TEST_P(SpectrumPlacement, FullScaleToneIsAtZeroDbInItsBins) {
    const Placement c = GetParam();
    hf::Settings s = listening(0, 6000);
    s.center = c.center;
    if (c.center != 0) s.Frequency = static_cast<uint32_t>(int64_t(c.center) + c.listenFromCentre);
    Receiver rx(s);
    rx.feed(hf_test::quantise(hf_test::tone(second / 2, c.listenFromCentre + c.toneFromListen, 1.0)));
    ASSERT_GE(rx.frames.size(), 6u);
    const hf::Frame& f = rx.frames.back();
    EXPECT_TRUE(f.centred);
    EXPECT_NEAR(f.level, 0.0f, 0.2f);
    ASSERT_EQ(f.narrowSpectrum.size(), 4096u);
    ASSERT_EQ(f.wideSpectrum.size(), 4096u);
    EXPECT_EQ(peakBin(f.narrowSpectrum), c.narrowBin);
    EXPECT_NEAR(f.narrowSpectrum[c.narrowBin], 0.0f, 0.2f);
    EXPECT_EQ(peakBin(f.wideSpectrum), c.wideBin);
    EXPECT_NEAR(f.wideSpectrum[c.wideBin], 0.0f, 0.2f);
}

// Narrow bins are 11.71875 Hz from the listen frequency, wide bins 234.375 Hz
// from the hardware centre; without a centre both are the listen frequency.
INSTANTIATE_TEST_SUITE_P(Tunings, SpectrumPlacement,
                         ::testing::Values(Placement{0, 0, 1171.875, 2148, 2053},
                                           Placement{7000000, 18750, 1171.875, 2148, 2133},
                                           Placement{7000000, -18750, -2343.75, 1848, 1958}));

TEST(Silence, GivesTheFloorLevelAndBins) {
    Receiver rx(listening(4, 500));
    for (int i = 0; i < 4000; ++i) rx.dsp.input48(Complex(0.0f, 0.0f), true);
    ASSERT_EQ(rx.frames.size(), 1u);
    const hf::Frame& f = rx.frames[0];
    EXPECT_EQ(f.level, -120.0f);
    for (const float db : f.narrowSpectrum) ASSERT_EQ(db, -160.0f);
    for (const float db : f.wideSpectrum) ASSERT_EQ(db, -160.0f);
    EXPECT_NEAR(f.wpm, 1200.0 / (1200.0 / 18.0), 1e-9);
    EXPECT_TRUE(f.cwText.empty());
}

// ---- Timing and input handling

TEST(Timing, FirstBlockAndFrameComeAtTheirPair) {
    Receiver rx(listening(2, 2700));
    const std::vector<uint8_t> iq = noisy(hf_test::tone(80000, 1000.0, 0.3), 0.05);
    auto feedPairs = [&](std::size_t from, std::size_t to) { rx.dsp.bytes(iq.data() + 2 * from, 2 * (to - from)); };
    feedPairs(0, 40959);
    EXPECT_EQ(rx.blocks, 0);
    feedPairs(40959, 40960);
    EXPECT_EQ(rx.blocks, 1);
    EXPECT_EQ(rx.audio.size(), 2048u);
    feedPairs(40960, 79999);
    EXPECT_EQ(rx.frames.size(), 0u);
    feedPairs(79999, 80000);
    EXPECT_EQ(rx.frames.size(), 1u);
}

// Whatever the sizes of the buffers, odd ones and empty ones included, the
// chain produces the same audio and frames, bit for bit.
TEST(InputHandling, BufferSizesAndOddBytesChangeNothing) {
    hf::Settings s = listening(4, 500);
    s.center = 7080000;
    hf_test::Baseband signal = hf_test::tone(3 * second / 2, 20000.0 + 150.0, 0.3);
    hf_test::mix(signal, hf_test::tone(3 * second / 2, -60000.0, 0.5));
    const std::vector<uint8_t> iq = noisy(signal, 0.1);

    Receiver whole(s);
    whole.feed(iq);

    Receiver pieces(s);
    const std::vector<std::size_t> pairCounts{1, 19, 20, 21, 4095, 7, 16384, 13, 40000, 3, 80001, 9999};
    const uint8_t junk[1] = {0xFF};
    std::size_t at = 0;
    for (std::size_t i = 0; at < iq.size() / 2; ++i) {
        const std::size_t pairs = std::min(pairCounts[i % pairCounts.size()], iq.size() / 2 - at);
        std::vector<uint8_t> odd(iq.begin() + static_cast<std::ptrdiff_t>(2 * at),
                                 iq.begin() + static_cast<std::ptrdiff_t>(2 * (at + pairs)));
        odd.push_back(0xFF);
        pieces.dsp.bytes(odd.data(), odd.size());
        pieces.dsp.bytes(junk, 0);
        pieces.dsp.bytes(junk, 1);
        at += pairs;
    }

    EXPECT_EQ(pieces.audio, whole.audio);
    ASSERT_EQ(pieces.frames.size(), whole.frames.size());
    ASSERT_GE(whole.frames.size(), 17u);
    for (std::size_t i = 0; i < whole.frames.size(); ++i) {
        EXPECT_EQ(pieces.frames[i].level, whole.frames[i].level) << i;
        EXPECT_EQ(pieces.frames[i].narrowSpectrum, whole.frames[i].narrowSpectrum) << i;
        EXPECT_EQ(pieces.frames[i].wideSpectrum, whole.frames[i].wideSpectrum) << i;
    }
}

// ---- Configuration

struct Change {
    const char* name;
    void (*apply)(hf::Settings&);
    bool resetsDecoder;
    bool clearsBandpass;
};

class Reconfiguration : public ::testing::TestWithParam<Change> {};

// A keyed carrier at 48 kHz with noise, fed until the decoder has text
// pending; then the change, then silence: the band-pass tail shows in the
// audio unless its history was cleared.
TEST_P(Reconfiguration, ResetsOnlyWhatTheChangeConcerns) {
    const Change c = GetParam();
    hf::Settings s = listening(4, 500);
    s.AutoSpeed = false;
    s.WPM = 20;
    Receiver rx(s);
    const std::vector<bool> key = hf_test::keyMorse("TEST", 20.0, 600, 600);
    std::mt19937 random(4);
    std::normal_distribution<float> gauss(0.0f, 0.01f);
    std::size_t fed = 0;
    for (; fed < key.size() * 48 && rx.dsp.pendingText().empty(); ++fed) {
        const float carrier = key[fed / 48] ? 0.3f : 0.0f;
        const float re = gauss(random);
        rx.dsp.input48(Complex(carrier + re, gauss(random)), true);
    }
    const std::string pending = rx.dsp.pendingText();
    ASSERT_FALSE(pending.empty());
    const int32_t ticks = rx.dsp.decoder().ticks;
    ASSERT_GT(ticks, 500);

    hf::Settings changed = s;
    c.apply(changed);
    rx.dsp.configure(changed);

    EXPECT_EQ(rx.dsp.pendingText(), c.resetsDecoder ? "" : pending);
    EXPECT_EQ(rx.dsp.decoder().ticks, c.resetsDecoder ? 0 : ticks);
    for (int i = 0; i < 4096; ++i) rx.dsp.input48(Complex(0.0f, 0.0f), true);
    ASSERT_GE(rx.audio.size(), fed + 513);
    const bool silent = std::all_of(rx.audio.begin() + static_cast<std::ptrdiff_t>(fed),
                                    rx.audio.begin() + static_cast<std::ptrdiff_t>(fed + 513),
                                    [](float v) { return v == 0.0f; });
    EXPECT_EQ(silent, c.clearsBandpass);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, Reconfiguration,
    ::testing::Values(Change{"Threshold", [](hf::Settings& s) { s.Threshold = -30.0f; }, false, false},
                      Change{"Tone", [](hf::Settings& s) { s.Tone = 900; }, true, false},
                      Change{"Frequency", [](hf::Settings& s) { s.Frequency += 100; }, true, false},
                      Change{"Bandwidth", [](hf::Settings& s) { s.Bandwidth = 800; }, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// After FM the tracked power sits at the discriminator's level; the next mode
// must start from the initial power, not fade in over seconds.
TEST(ModeChange, LeavingFmRestartsTheAgc) {
    Receiver rx(listening(1, 12000));
    rx.feed(noisy(hf_test::tone(second / 2, 0.0, 0.05), 0.5));
    hf::Settings usb = listening(2, 2700);
    rx.dsp.configure(usb);
    rx.feed(hf_test::quantise(hf_test::tone(second / 4, 1000.0, 0.5)));
    EXPECT_NEAR(amplitudeAt(rx.tail(100), 1000.0), 0.18, 0.03);
}

// ---- Output gain ramp of a new chain

TEST(FadeIn, RampsTheFirst240SamplesThenStaysAtOne) {
    // FM has a fixed gain, so the unramped output can be worked out beside the
    // chain from a band-pass of the same design.
    Receiver rx(listening(1, 12000));
    hf::Bandpass bp;
    bp.configure(-6000.0, 6000.0);
    Complex previous(1.0f, 0.0f);
    std::vector<float> unramped;
    for (std::size_t n = 0; n < 2048; ++n) {
        const Complex x(std::polar(0.5, twoPi * 3000.0 * double(n) / 48000.0 + std::numbers::pi / 2));
        rx.dsp.input48(x, true);
        const Complex y = bp.filter(x);
        const Complex d = y * std::conj(previous);
        previous = y;
        unramped.push_back(std::clamp(std::atan2(d.imag(), d.real()) * 3.055775f * 0.5f, -0.95f, 0.95f));
    }
    ASSERT_EQ(rx.audio.size(), 2048u);
    ASSERT_NE(unramped[0], 0.0f);
    EXPECT_EQ(rx.audio[0], unramped[0] * 0.004166667f);
    for (std::size_t n = 1; n < 240; ++n) {
        if (std::abs(unramped[n]) < 1e-3f) continue;
        EXPECT_NEAR(rx.audio[n] / unramped[n], 0.004166667 * double(n + 1), 2e-6) << n;
    }
    ASSERT_GT(std::abs(unramped[239]), 1e-3f);
    EXPECT_NEAR(rx.audio[239] / unramped[239], 0.9999992, 1e-6);
    for (std::size_t n = 240; n < 2048; ++n) ASSERT_EQ(rx.audio[n], unramped[n]) << n;
}

// ---- Settings the form would refuse

class OddSettings : public ::testing::TestWithParam<hf::Settings> {};

TEST_P(OddSettings, KeepTheAudioFiniteAndWithinRange) {
    Receiver rx(GetParam());
    hf_test::Baseband signal = hf_test::tone(second / 2, 300.0, 0.3);
    hf_test::mix(signal, hf_test::amTone(second / 2, -4000.0, 0.3, 700.0, 0.5));
    rx.feed(noisy(signal, 0.1));
    EXPECT_GE(rx.dsp.settings().Bandwidth, 100);
    EXPECT_LE(rx.dsp.settings().Bandwidth, 15000);
    ASSERT_FALSE(rx.audio.empty());
    EXPECT_TRUE(std::all_of(rx.audio.begin(), rx.audio.end(),
                            [](float v) { return std::isfinite(v) && std::abs(v) <= 0.95f; }));
    ASSERT_FALSE(rx.frames.empty());
    EXPECT_GT(rx.frames.back().level, -100.0f);
    for (const hf::Frame& f : rx.frames) {
        ASSERT_TRUE(std::isfinite(f.level));
        ASSERT_TRUE(std::all_of(f.narrowSpectrum.begin(), f.narrowSpectrum.end(), [](float v) { return std::isfinite(v); }));
    }
}

hf::Settings with(void (*apply)(hf::Settings&)) {
    hf::Settings s;
    apply(s);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Values, OddSettings,
    ::testing::Values(with([](hf::Settings& s) { s.Bandwidth = 0; }),
                      with([](hf::Settings& s) { s.Bandwidth = -3000; s.Mode = 2; }),
                      with([](hf::Settings& s) { s.Bandwidth = 2000000000; s.Mode = 0; }),
                      with([](hf::Settings& s) { s.Mode = 7; }),
                      with([](hf::Settings& s) { s.Mode = -2; s.Bandwidth = 3000; }),
                      with([](hf::Settings& s) { s.Tone = -100000; s.WPM = 0; }),
                      with([](hf::Settings& s) { s.Frequency = 0; s.center = 4294967295u; })));

// ---- 48 kHz samples no dongle byte can produce

struct OddSample {
    const char* name;
    Complex sample;
    // Else clamped: the chain stays finite and bounded, and the automatic gain
    // recovers from the spike as from any loud one, over seconds.
    bool countsAsZero;
};

class OddSamples : public ::testing::TestWithParam<std::tuple<int32_t, OddSample>> {};

// A 1 kHz tone at 48 kHz with one odd sample in it, against the same tone
// with a 0 there; in every mode.
TEST_P(OddSamples, NeverPoisonTheChain) {
    const auto [mode, odd] = GetParam();
    Receiver poisoned(listening(mode, 2400));
    Receiver clean(listening(mode, 2400));
    for (std::size_t n = 0; n < 3 * audioRate; ++n) {
        const Complex x(std::polar(0.3, twoPi * 1000.0 * double(n) / double(audioRate)));
        const bool oddOne = n == audioRate / 2;
        poisoned.dsp.input48(oddOne ? odd.sample : x, true);
        clean.dsp.input48(oddOne ? Complex(0.0f, 0.0f) : x, true);
    }
    ASSERT_EQ(poisoned.audio.size(), clean.audio.size());
    EXPECT_TRUE(std::all_of(poisoned.audio.begin(), poisoned.audio.end(),
                            [](float v) { return std::isfinite(v) && std::abs(v) <= 0.95f; }));
    ASSERT_EQ(poisoned.frames.size(), clean.frames.size());
    for (const hf::Frame& f : poisoned.frames) {
        ASSERT_TRUE(std::isfinite(f.level));
        ASSERT_TRUE(std::all_of(f.narrowSpectrum.begin(), f.narrowSpectrum.end(),
                                [](float v) { return std::isfinite(v); }));
    }
    if (odd.countsAsZero) {
        EXPECT_EQ(poisoned.audio, clean.audio);
        EXPECT_EQ(poisoned.frames.back().narrowSpectrum, clean.frames.back().narrowSpectrum);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryMode, OddSamples,
    ::testing::Combine(
        ::testing::Values(0, 1, 2, 3, 4),
        ::testing::Values(OddSample{"NaN", {std::nanf(""), 0.0f}, true},
                          OddSample{"ImaginaryNaN", {0.0f, -std::nanf("")}, true},
                          OddSample{"Infinity", {INFINITY, INFINITY}, true},
                          OddSample{"MinusInfinity", {-INFINITY, 0.0f}, true},
                          OddSample{"Huge", {1e30f, -3.4e38f}, false})),
    [](const auto& info) {
        return std::string(std::get<1>(info.param).name) + "Mode" + std::to_string(std::get<0>(info.param));
    });

TEST(WidthClamp, IsAppliedBeforeComparingSoRepeatingItResetsNothing) {
    Receiver rx(listening(4, 0));
    EXPECT_EQ(rx.dsp.settings().Bandwidth, 100);
    for (int i = 0; i < 1000; ++i) rx.dsp.input48(Complex(0.1f, 0.0f), true);
    const int32_t ticks = rx.dsp.decoder().ticks;
    ASSERT_GT(ticks, 0);
    rx.dsp.configure(listening(4, 0));
    EXPECT_EQ(rx.dsp.decoder().ticks, ticks);
    rx.dsp.configure(listening(4, 99999));
    EXPECT_EQ(rx.dsp.settings().Bandwidth, 15000);
}

}  // namespace
