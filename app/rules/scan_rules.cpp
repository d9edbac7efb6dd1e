#include "app/rules/scan_rules.h"

#include "hf/cb_plan.h"
#include "hf/modes.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace app {

namespace {

constexpr uint64_t signalCapMs = 15000;  // the longest a signal holds an entry
constexpr uint64_t signalHoldMs = 2000;  // how long a lost signal still holds it
constexpr int32_t framesBeforeDecision = 5;
constexpr uint32_t maxRangeSteps = 99999;

hf::Settings changed(hf::Settings settings, int32_t mode, int32_t bandwidth, int32_t step,
                     bool decode) {
    settings.Mode = mode;
    settings.Bandwidth = bandwidth;
    settings.Step = step;
    settings.Decode = decode;
    return settings;
}

std::vector<hf::Settings> rangeEntries(const hf::Settings& settingsTemplate,
                                       const std::function<uint32_t(int)>& readLimit) {
    const uint32_t start = readLimit(rangeStartField);
    const uint32_t end = readLimit(rangeEndField);
    if (end < start) throw std::runtime_error("Le debut du scan doit preceder la fin.");
    // A step of nothing would never reach the end: as refused as one too small.
    const auto step = static_cast<uint32_t>(std::max(settingsTemplate.Step, 0));
    if (step == 0 || (end - start) / step > maxRangeSteps)
        throw std::runtime_error(
            "Plage trop grande pour ce pas : augmentez le pas ou reduisez la plage.");
    std::vector<hf::Settings> entries;
    entries.reserve((end - start) / step + 1);
    for (uint64_t frequency = start; frequency <= end; frequency += step) {
        entries.push_back(settingsTemplate);
        entries.back().Frequency = static_cast<uint32_t>(frequency);
    }
    return entries;
}

std::wstring countdown(const wchar_t* text, uint64_t deadline, uint64_t now) {
    const uint64_t seconds = now < deadline ? (deadline - now + 999) / 1000 : 0;
    return std::wstring(text) + L" " + std::to_wstring(seconds) + L" s";
}

}  // namespace

uint32_t scanLimit(std::wstring text) {
    std::replace(text.begin(), text.end(), L',', L'.');
    std::size_t used = 0;
    const double mhz = std::stod(text, &used);
    if (used != text.size() || !std::isfinite(mhz) || mhz < 0.5 || mhz > 52)
        throw std::runtime_error("Limites du scan : 0,5 a 52 MHz.");
    return static_cast<uint32_t>(std::llround(mhz * 1000000));
}

std::vector<hf::Settings> scanEntries(int rangeItem, const hf::Settings& form,
                                      const std::function<uint32_t(int)>& readLimit,
                                      const std::vector<Favorite>& favorites) {
    const hf::Settings cbTemplate = changed(form, hf::modeAM, 9000, 10000, false);
    switch (rangeItem) {
        case 0: return hf::cbScanSettings(cbTemplate);
        case 1: return rangeEntries(changed(form, hf::modeCW, 500, 100, true), readLimit);
        case 2: return rangeEntries(changed(form, hf::modeLSB, 2700, 1000, false), readLimit);
        case 3: return rangeEntries(form, readLimit);
        case 4: {
            std::vector<hf::Settings> entries;
            for (const Favorite& favorite : favorites) entries.push_back(favorite.second);
            return entries;
        }
        case 5: return rangeEntries(changed(form, hf::modeUSB, 2700, 1000, false), readLimit);
        case 6: return hf::cbBlockScanSettings(cbTemplate, -1);
        case 7: return hf::cbBlockScanSettings(cbTemplate, 0);
        case 8: return hf::cbBlockScanSettings(changed(form, hf::modeUSB, 2700, 10000, false), +1);
        default: return {};
    }
}

hf::Settings scanEntryForm(const hf::Settings& entry, std::size_t index, const hf::Settings& form) {
    hf::Settings shown = entry;
    shown.center = index == 0 ? 0 : form.center;
    shown.Step = form.Step;
    return shown;
}

std::optional<int32_t> scanSpan(int rangeItem) {
    if (rangeItem == 1) return 96000;
    if (rangeItem == 3 || rangeItem == 4) return std::nullopt;
    return 480000;
}

bool timedDwell(int dwellModeItem, int32_t mode, int32_t squelch, bool squelchOpen) {
    return dwellModeItem == 1 || (mode != hf::modeCW && squelch > 0 && !squelchOpen);
}

DwellAction dwellStep(DwellState& state, const DwellFrame& frame, bool timed, int32_t dwellMs) {
    if (frame.generation != state.generation)
        return state.frames == 0 ? DwellAction::none : DwellAction::caption;
    state.frames += 1;
    if (state.frames == 1) state.dwellStartMs = frame.nowMs;
    if (state.frames <= framesBeforeDecision) return DwellAction::caption;

    const uint64_t elapsed = frame.nowMs - state.dwellStartMs;
    const auto dwell = static_cast<uint64_t>(dwellMs);
    if (timed) return elapsed >= dwell ? DwellAction::hop : DwellAction::caption;
    if (elapsed >= dwell + signalCapMs) return DwellAction::hop;
    if (frame.signalPresent) {
        state.lastSignalMs = frame.nowMs;
        return DwellAction::caption;
    }
    if (elapsed < dwell) return DwellAction::caption;
    const bool signalGone =
        state.lastSignalMs == 0 || frame.nowMs - state.lastSignalMs >= signalHoldMs;
    return signalGone ? DwellAction::hop : DwellAction::caption;
}

std::wstring dwellCaption(const DwellState& state, bool timed, bool signalPresent,
                          uint64_t nowMs, int32_t dwellMs) {
    const uint64_t dwellEnd = state.dwellStartMs + static_cast<uint64_t>(dwellMs);
    const uint64_t cap = dwellEnd + signalCapMs;
    if (!timed && signalPresent) return countdown(L"Écoute", cap, nowMs);
    if (!timed && state.lastSignalMs != 0)
        return countdown(L"Reprise",
                         std::min(std::max(state.lastSignalMs + signalHoldMs, dwellEnd), cap),
                         nowMs);
    return countdown(L"Recherche", dwellEnd, nowMs);
}

}  // namespace app
