#include "hf/signal_detection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using Spectrum = std::vector<float>;

constexpr int fullSize = 4096;
constexpr float noiseDb = -100.0f;
constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

int binAt(double offsetHz, int n = fullSize) {
    return int(std::lround((offsetHz / 48000.0 + 0.5) * n));
}

Spectrum flat(int n = fullSize) { return Spectrum(std::size_t(n), noiseDb); }

// A floor with a ±1 dB ripple, so the noise level has to be found as a median.
Spectrum noisy(int n = fullSize) {
    Spectrum s(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) s[std::size_t(i)] = noiseDb + 0.5f * float(i % 5 - 2);
    return s;
}

Spectrum with(Spectrum s, int bin, float db) {
    s[std::size_t(bin)] = db;
    return s;
}

Spectrum carrier(float db = -70.0f) { return with(noisy(), binAt(0), db); }

void fill(Spectrum& s, double fromHz, double toHz, float db) {
    for (int i = binAt(fromHz); i <= binAt(toHz); ++i) s[std::size_t(i)] = db;
}

// With the passband running to the top of the counted span, the only guard is
// the lower one, from the first counted bin (683, at -15996.1 Hz) to lo - 200:
// at lo = -15620 it holds bins 683..698 (16 values), at lo = -15632 only 15.
constexpr int edgeHi = 16000;
constexpr int edgeLoWith16Guards = -15620;
constexpr int edgeLoWith15Guards = -15632;
constexpr int firstCountedBin = 683;

Spectrum edgeCarrier() { return with(flat(), binAt(0), -70.0f); }

struct ContrastCase {
    std::string name;
    std::function<Spectrum()> spectrum;
    int lo, hi;
    float expected;
};

class SignalContrast : public testing::TestWithParam<ContrastCase> {};

TEST_P(SignalContrast, PeakOverMedianGuard) {
    const auto& c = GetParam();
    EXPECT_FLOAT_EQ(hf::signalContrast(c.spectrum(), c.lo, c.hi), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Spectra, SignalContrast,
    testing::Values(
        ContrastCase{"CarrierOverNoise", [] { return carrier(); }, -250, 250, 30.0f},
        ContrastCase{"FlatFloor", [] { return flat(); }, -250, 250, 0.0f},
        ContrastCase{"Empty", [] { return Spectrum{}; }, -250, 250, 0.0f},
        ContrastCase{"LoEqualsHi", [] { return carrier(); }, 0, 0, 0.0f},
        ContrastCase{"LoAboveHi", [] { return carrier(); }, 250, -250, 0.0f},
        ContrastCase{"NonFiniteInBandIgnored",
                     [] { return with(with(carrier(), binAt(100), inf), binAt(-100), nan); },
                     -250, 250, 30.0f},
        ContrastCase{"OnlyNonFiniteInBand",
                     [] {
                         Spectrum s = noisy();
                         fill(s, -250, 0, nan);
                         fill(s, 0, 250, inf);
                         return s;
                     },
                     -250, 250, 0.0f},
        ContrastCase{"NonFiniteGuardsIgnored",
                     [] {
                         // Three guard bins in four unusable: counted, -inf would be the median.
                         Spectrum s = carrier();
                         for (int i = binAt(-3250); i <= binAt(3250); ++i)
                             if (std::abs(i - binAt(0)) > 40 && i % 4 != 0)
                                 s[std::size_t(i)] = i % 2 ? -inf : nan;
                         return s;
                     },
                     -250, 250, 30.0f},
        ContrastCase{"SignalInGuardDoesNotLiftTheFloor",
                     [] {
                         Spectrum s = carrier();
                         fill(s, 1000, 1500, -40.0f);
                         return s;
                     },
                     -250, 250, 30.0f},
        ContrastCase{"LevelsBeyondGuardReachIgnored",
                     [] {
                         Spectrum s = carrier();
                         fill(s, -16000, -3300, -60.0f);
                         fill(s, 3300, 16000, -60.0f);
                         return s;
                     },
                     -250, 250, 30.0f},
        ContrastCase{"CarrierBeyondUpperSpanEdge",
                     [] { return with(noisy(), binAt(16200), -40.0f); }, 15000, 16500, 1.0f},
        ContrastCase{"CarrierBeyondLowerSpanEdge",
                     [] { return with(noisy(), binAt(-16200), -40.0f); }, -16500, -15000, 1.0f},
        ContrastCase{"SixteenGuardValuesAtSpanEdge", edgeCarrier, edgeLoWith16Guards, edgeHi,
                     30.0f},
        ContrastCase{"FifteenGuardValuesAtSpanEdge", edgeCarrier, edgeLoWith15Guards, edgeHi,
                     0.0f},
        ContrastCase{"EvenGuardCountTakesUpperMiddle",
                     [] {
                         Spectrum s = edgeCarrier();
                         for (int i = firstCountedBin + 8; i < firstCountedBin + 16; ++i)
                             s[std::size_t(i)] = -90.0f;
                         return s;
                     },
                     edgeLoWith16Guards, edgeHi, 20.0f},
        ContrastCase{"PassbandOutsideSpan", [] { return carrier(); }, 19000, 19500, 0.0f},
        // 93.75 Hz per bin: the carrier at bin 256 is 0 Hz only if n is the real size.
        ContrastCase{"ShortSpectrumUsesItsOwnSize",
                     [] { return with(noisy(512), binAt(0, 512), -70.0f); }, -250, 250, 30.0f},
        ContrastCase{"OneBin", [] { return Spectrum{-70.0f}; }, -30000, 30000, 0.0f},
        ContrastCase{"ThreeBins", [] { return Spectrum{-100.0f, -70.0f, -100.0f}; }, -250, 250,
                     0.0f}),
    [](const auto& info) { return info.param.name; });

// The passband of most cases below: wide enough that one carrier does not lift
// the in-band mean, so only the peak test can fire.
constexpr int lo = -1000;
constexpr int hi = 1000;
constexpr float strongDb = -80.0f;  // 20 dB over the noise
const int centreBin = binAt(0);

Spectrum peaksAt(const std::vector<int>& bins) {
    Spectrum s = noisy();
    for (int b : bins) s[std::size_t(b)] = strongDb;
    return s;
}

class Presence : public testing::Test {
protected:
    bool feed(const Spectrum& s, uint64_t now, bool quick = true, uint32_t key = 1) {
        return detector.update(s, lo, hi, key, now, quick);
    }
    // Reaches a positive answer at `now` with a stable carrier.
    void becomePresent(uint64_t now, uint32_t key = 1) {
        feed(carrierAtCentre, now - 80, true, key);
        ASSERT_TRUE(feed(carrierAtCentre, now, true, key));
    }

    hf::SpectralPresence detector;
    const Spectrum carrierAtCentre = peaksAt({centreBin});
};

struct PeakRunCase {
    std::string name;
    std::vector<std::vector<int>> peakOffsets;  // bins from the centre, per spectrum
    bool quick;
    std::vector<bool> answers;
};

class PresencePeakRun : public testing::TestWithParam<PeakRunCase> {};

TEST_P(PresencePeakRun, AnswersPerSpectrum) {
    const auto& c = GetParam();
    hf::SpectralPresence detector;
    for (std::size_t k = 0; k < c.peakOffsets.size(); ++k) {
        std::vector<int> bins;
        for (int offset : c.peakOffsets[k]) bins.push_back(centreBin + offset);
        EXPECT_EQ(detector.update(peaksAt(bins), lo, hi, 7, 1000 + 83 * k, c.quick), c.answers[k])
            << "spectrum " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PresencePeakRun,
    testing::Values(
        PeakRunCase{"QuickSameBin", {{0}, {0}}, true, {false, true}},
        PeakRunCase{"SlowSameBin", {{0}, {0}, {0}, {0}}, false, {false, false, false, true}},
        PeakRunCase{"DriftOneBin", {{0}, {1}, {2}, {3}}, false, {false, false, false, true}},
        PeakRunCase{"DriftTwoBins", {{0}, {2}, {4}, {6}}, false, {false, false, false, true}},
        PeakRunCase{"JumpThreeBins",
                    {{0}, {3}, {6}, {9}, {12}},
                    false,
                    {false, false, false, false, false}},
        PeakRunCase{"QuickJumpThreeBins", {{0}, {3}, {6}}, true, {false, false, false}},
        PeakRunCase{"WeakSpectrumBreaksTheRun", {{0}, {}, {0}}, true, {false, false, false}},
        PeakRunCase{"FirstOfEqualMaximaWins", {{0}, {0, 10}}, true, {false, true}},
        PeakRunCase{"NoiseOnly", {{}, {}, {}, {}, {}}, true, {false, false, false, false, false}}),
    [](const auto& info) { return info.param.name; });

struct BroadCase {
    std::string name;
    std::vector<float> liftDb;  // in-band lift over the noise, per spectrum
    std::vector<bool> answers;
};

class PresenceBroad : public testing::TestWithParam<BroadCase> {};

TEST_P(PresenceBroad, MeanTestNeedsFourSpectra) {
    const auto& c = GetParam();
    hf::SpectralPresence detector;
    for (std::size_t k = 0; k < c.liftDb.size(); ++k) {
        Spectrum s = noisy();
        for (int i = binAt(lo); i <= binAt(hi); ++i) s[std::size_t(i)] += c.liftDb[k];
        // Quick: a peak this low must not count, however quick the decision.
        EXPECT_EQ(detector.update(s, lo, hi, 7, 1000 + 83 * k, true), c.answers[k])
            << "spectrum " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lifts, PresenceBroad,
    testing::Values(BroadCase{"EightDb", {8, 8, 8, 8}, {false, false, false, true}},
                    BroadCase{"SixDb", {6, 6, 6, 6, 6}, {false, false, false, false, false}},
                    BroadCase{"BrokenRun", {8, 8, 8, 0, 8, 8}, {false, false, false, false, false,
                                                               false}}),
    [](const auto& info) { return info.param.name; });

struct HoldCase {
    uint64_t afterMs;
    bool answer;
};

class PresenceHold : public Presence, public testing::WithParamInterface<HoldCase> {};

TEST_P(PresenceHold, HeldAcrossMeasuredNoise) {
    becomePresent(1000);
    EXPECT_EQ(feed(noisy(), 1000 + GetParam().afterMs), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Delays, PresenceHold,
                         testing::Values(HoldCase{1, true}, HoldCase{450, true},
                                         HoldCase{451, false}, HoldCase{5000, false}));

TEST_F(Presence, HoldRunsFromTheLastPositiveSpectrum) {
    becomePresent(1000);
    EXPECT_TRUE(feed(noisy(), 1300));
    EXPECT_TRUE(feed(noisy(), 1450));
    EXPECT_FALSE(feed(noisy(), 1451));
    EXPECT_FALSE(feed(noisy(), 1452));
}

TEST_F(Presence, NewKeyStartsAfreshWithoutHold) {
    becomePresent(1000, 1);
    EXPECT_FALSE(feed(carrierAtCentre, 1010, true, 2)) << "old run or hold carried over";
    EXPECT_TRUE(feed(carrierAtCentre, 1090, true, 2));
    EXPECT_FALSE(feed(noisy(), 1100, true, 3));
}

struct UnmeasuredCase {
    std::string name;
    std::function<Spectrum()> spectrum;
    int lo, hi;
};

class PresenceUnmeasured : public Presence, public testing::WithParamInterface<UnmeasuredCase> {};

TEST_P(PresenceUnmeasured, IsAbsentAndNotHeld) {
    const auto& c = GetParam();
    becomePresent(1000);
    EXPECT_FALSE(detector.update(c.spectrum(), c.lo, c.hi, 1, 1010, true));
    EXPECT_FALSE(feed(noisy(), 1020)) << "held across a spectrum without measurement";
}

TEST_P(PresenceUnmeasured, NeitherBreaksNorExtendsAPeakRun) {
    const auto& c = GetParam();
    EXPECT_FALSE(feed(carrierAtCentre, 1000));
    EXPECT_FALSE(detector.update(c.spectrum(), c.lo, c.hi, 1, 1083, true));
    EXPECT_TRUE(feed(carrierAtCentre, 1166));
}

INSTANTIATE_TEST_SUITE_P(
    Spectra, PresenceUnmeasured,
    testing::Values(
        UnmeasuredCase{"Empty", [] { return Spectrum{}; }, lo, hi},
        UnmeasuredCase{"AllNaN", [] { return Spectrum(fullSize, nan); }, lo, hi},
        UnmeasuredCase{"ThreeBins", [] { return Spectrum{-100.0f, -40.0f, -100.0f}; }, lo, hi},
        UnmeasuredCase{"OneBin", [] { return Spectrum{-40.0f}; }, -30000, 30000},
        UnmeasuredCase{"NoInBandBin", [] { return carrier(); }, 5, 10},
        UnmeasuredCase{"FifteenGuardValuesAtSpanEdge", edgeCarrier, edgeLoWith15Guards,
                       edgeHi}),
    [](const auto& info) { return info.param.name; });

TEST(PresenceEdge, SixteenGuardValuesAreEnough) {
    hf::SpectralPresence detector;
    EXPECT_FALSE(detector.update(edgeCarrier(), edgeLoWith16Guards, edgeHi, 1, 1000, true));
    EXPECT_TRUE(detector.update(edgeCarrier(), edgeLoWith16Guards, edgeHi, 1, 1083, true));
}

}  // namespace
