#include "app/rules/command_rules.h"

#include "app/rules/form_display.h"

#include "hf/modes.h"

#include <algorithm>
#include <array>

namespace app {

namespace {

// Items of the range combo 130.
constexpr int cbFull = 0, cw7 = 1, hfFrom3 = 2, customRange = 3, favoritesRange = 4,
              lastCbBand = 8;

}  // namespace

const wchar_t* muteCaption(bool muted) { return muted ? L"Son coupé" : L"Muet"; }

ModeDefaults modeDefaults(int32_t mode) {
    switch (mode) {
        case hf::modeAM: return {9000, 10000};
        case hf::modeFM: return {12000, 10000};
        case hf::modeCW: return {500, 10};
        default: return {2700, 100};
    }
}

std::optional<int32_t> presetBandwidth(int32_t mode, int preset) {
    if (preset < 0 || preset > 2) return std::nullopt;
    if (mode != hf::modeCW && mode != hf::modeUSB && mode != hf::modeLSB) return std::nullopt;
    return presetWidths(mode)[static_cast<std::size_t>(preset)];
}

uint32_t steppedFrequency(uint32_t frequency, int32_t step, int direction) {
    const int64_t next = int64_t{frequency} + int64_t{direction} * step;
    return static_cast<uint32_t>(
        std::clamp<int64_t>(next, lowestFrequency, highestFrequency));
}

int32_t spanOfItem(int item) {
    switch (item) {
        case 0: return 12000;
        case 1: return 48000;
        case 2: return 96000;
        default: return 480000;
    }
}

std::optional<RowChoice> rowChoice(int id, int currentRange) {
    if (id >= 300 && id <= 304) return RowChoice{modeCombo, id - 300};
    if (id >= 320 && id <= 326) return RowChoice{stepCombo, id - 320};
    if (id >= 340 && id <= 343) return RowChoice{spanCombo, id - 340};
    switch (id) {
        case 360: return RowChoice{rangeCombo, customRange};
        // "CW" leaves the wider HF range alone, and "CB" a CB sub-band.
        case 361: return RowChoice{rangeCombo, currentRange == hfFrom3 ? hfFrom3 : cw7};
        case 362: return RowChoice{rangeCombo, currentRange > 5 ? currentRange : cbFull};
        case 363: return RowChoice{rangeCombo, favoritesRange};
        default: return std::nullopt;
    }
}

std::optional<int32_t> dwellOfButton(int id) {
    static constexpr std::array<int32_t, 4> dwells{1000, 2000, 3000, 5000};
    if (id < 380 || id > 383) return std::nullopt;
    return dwells[id - 380];
}

int mirrorItem(int rangeItem) {
    if (rangeItem == favoritesRange || rangeItem < 0 || rangeItem > lastCbBand) return -1;
    return rangeItem < favoritesRange ? rangeItem : rangeItem - 1;
}

int rangeOfMirrorItem(int mirrorItem) {
    return mirrorItem < favoritesRange ? mirrorItem : mirrorItem + 1;
}

std::optional<RangeTexts> rangeTexts(int rangeItem) {
    switch (rangeItem) {
        case 0: return RangeTexts{L"26.515", L"27.855"};
        case 1: return RangeTexts{L"7.000", L"7.060"};
        case 2: return RangeTexts{L"3.000", L"3.800"};
        case 5: return RangeTexts{L"50.000", L"52.000"};
        case 6: return RangeTexts{L"26.515", L"26.955"};
        case 7: return RangeTexts{L"26.965", L"27.405"};
        case 8: return RangeTexts{L"27.415", L"27.855"};
        default: return std::nullopt;
    }
}

bool mayAddFavorite(std::size_t favoriteCount) { return favoriteCount <= 33; }

hf::Settings recalledFavorite(hf::Settings current, const hf::Settings& favorite) {
    current.Frequency = favorite.Frequency;
    current.Mode = favorite.Mode;
    current.Bandwidth = favorite.Bandwidth;
    current.Step = favorite.Step;
    return current;
}

int dongleInUseItem(const std::vector<hf::Device>& devices, const hf::Device& inUse) {
    for (std::size_t i = 0; i < devices.size(); ++i)
        if (hf::sameDongle(devices[i], inUse))
            return static_cast<int>(i) + 1;
    return 0;
}

std::optional<std::size_t> chosenDongle(int item, std::size_t deviceCount) {
    if (item < 1 || static_cast<std::size_t>(item) > deviceCount) return std::nullopt;
    return static_cast<std::size_t>(item - 1);
}

}  // namespace app
