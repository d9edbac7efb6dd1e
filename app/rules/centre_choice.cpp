#include "app/rules/centre_choice.h"

#include "app/rules/reception_rules.h"
#include "hf/passband.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace app {

namespace {

// All differences are taken in 64 bits: frequencies are unsigned 32-bit.
constexpr int64_t lowestHz = 500000;
constexpr int64_t highestHz = 52000000;
constexpr int64_t keptWindow = 175000;
constexpr int64_t scanMargin = 400;
constexpr int64_t receivedHalfSpan = 185000;

int64_t scanCentre(int64_t f, int64_t c0, hf::Passband band, int32_t span) {
    const int64_t half = std::min<int64_t>(span / 2 - scanMargin, keptWindow);
    if (half - band.hi < -half - band.lo) return f;
    const int64_t offset = f - c0;
    if (c0 != 0 && -half - band.lo <= offset && offset <= half - band.hi) return c0;
    return std::clamp(f + half + band.lo, lowestHz, highestHz);
}

int64_t keptCentre(int64_t f, int64_t c0, int32_t bandwidth) {
    if (c0 != 0 && std::llabs(f - c0) <= keptWindow - bandwidth) return c0;
    return f;
}


}  // namespace

uint32_t chooseCentre(const hf::Settings& next, uint32_t previousCentre, const CentreView& view,
                      const hf::Device& dongle) {
    const int64_t f = next.Frequency;
    const int64_t c0 = previousCentre;
    int64_t centre;
    if (view.scanning)
        centre = scanCentre(f, c0, hf::passband(next.Mode, next.Bandwidth), view.spectrumSpan);
    else if (view.panDrag && c0 != 0)
        centre = c0;
    else
        centre = keptCentre(f, c0, next.Bandwidth);
    hf::Settings placed = next;
    placed.center = static_cast<uint32_t>(centre);
    return onReceivablePath(placed, dongle).center;
}

bool outOfSpan(const hf::Settings& settings) {
    const hf::Passband band = hf::passband(settings.Mode, settings.Bandwidth);
    const int64_t f = settings.Frequency;
    const int64_t centre = settings.center != 0 ? settings.center : settings.Frequency;
    return f + band.lo - centre < -receivedHalfSpan || f + band.hi - centre > receivedHalfSpan;
}

}  // namespace app
