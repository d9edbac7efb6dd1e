#include "hf/signal_detection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace hf {
namespace {

constexpr double spectrumRateHz = 48000.0;
// Bins farther out lie where the decimation filters roll off.
constexpr double countedSpanHz = 16000.0;
// The guards keep clear of the filter skirts and stop before unrelated signals.
constexpr double guardGapHz = 200.0;
constexpr double guardReachHz = 3000.0;
constexpr std::size_t fewestGuardValues = 16;
constexpr float peakStartDb = -150.0f;

constexpr float strongPeakDb = 12.0f;
constexpr double strongMeanDb = 7.0;
constexpr int stablePeakBins = 2;
constexpr int32_t quickHits = 2;
constexpr int32_t slowHits = 4;
constexpr int32_t broadFrames = 4;
// Bridges the short fades of a real signal.
constexpr uint64_t holdMs = 450;

// What one walk over the spectrum learns about the passband and its guards.
struct PassbandSurvey {
    int inBandCount = 0;
    double inBandPower = 0.0;  // sum of linear powers
    float peak = peakStartDb;
    int peakBin = -1;
    std::vector<float> guards;
};

// The edges are taken as doubles so that no offset arithmetic can overflow.
PassbandSurvey survey(const std::vector<float>& spectrum, double lo, double hi) {
    PassbandSurvey s;
    const double n = double(spectrum.size());
    for (std::size_t i = 0; i < spectrum.size(); ++i) {
        const float value = spectrum[i];
        const double offset = (double(i) / n - 0.5) * spectrumRateHz;
        if (!std::isfinite(value) || std::abs(offset) > countedSpanHz) continue;
        if (offset >= lo && offset <= hi) {
            ++s.inBandCount;
            s.inBandPower += std::pow(10.0, value / 10.0);
            if (value > s.peak) {
                s.peak = value;
                s.peakBin = int(i);
            }
        } else if ((offset >= lo - guardReachHz && offset < lo - guardGapHz) ||
                   (offset > hi + guardGapHz && offset <= hi + guardReachHz)) {
            s.guards.push_back(value);
        }
    }
    return s;
}

// Median of the guard values (the upper middle one for an even count).
std::optional<float> noiseFloor(std::vector<float>& guards) {
    if (guards.size() < fewestGuardValues) return std::nullopt;
    const auto middle = guards.begin() + std::ptrdiff_t(guards.size() / 2);
    std::nth_element(guards.begin(), middle, guards.end());
    return *middle;
}

}  // namespace

float signalContrast(const std::vector<float>& spectrum, int lo, int hi) {
    if (lo >= hi) return 0.0f;
    PassbandSurvey s = survey(spectrum, lo, hi);
    const std::optional<float> noise = noiseFloor(s.guards);
    if (!noise || s.peakBin < 0) return 0.0f;
    return s.peak - *noise;
}

bool SpectralPresence::update(const std::vector<float>& spectrum, int lo, int hi,
                              uint32_t listening, uint64_t now, bool quick) {
    if (listening != key) {
        *this = SpectralPresence{};
        key = listening;
    }
    PassbandSurvey s = survey(spectrum, lo, hi);
    const std::optional<float> noise = noiseFloor(s.guards);
    // Without a measurement the runs are left as they were, and nothing is held.
    if (s.inBandCount == 0 || !noise) {
        present = false;
        return false;
    }

    if (s.peak - *noise >= strongPeakDb) {
        const bool stable =
            lastPeakBin >= 0 && std::abs(s.peakBin - lastPeakBin) <= stablePeakBins;
        hits = stable ? hits + 1 : 1;
        lastPeakBin = s.peakBin;
    } else {
        hits = 0;
        lastPeakBin = -1;
    }

    const double meanDb = 10.0 * std::log10(std::max(s.inBandPower / s.inBandCount, 1e-20));
    frames = meanDb - *noise >= strongMeanDb ? frames + 1 : 0;

    if (frames >= broadFrames || hits >= (quick ? quickHits : slowHits)) {
        present = true;
        lastSeenMs = now;
        return true;
    }
    if (now - lastSeenMs > holdMs) present = false;
    return present;
}

}  // namespace hf
