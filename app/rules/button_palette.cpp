#include "app/rules/button_palette.h"

#include "app/rules/form_display.h"
#include "app/rules/value_bounds.h"

#include "hf/modes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace app {

namespace {

constexpr Colour gloss{157, 226, 237};
constexpr Colour white{242, 251, 255};
constexpr Colour amberText{255, 226, 83};

constexpr Palette normal{white, {7, 48, 72}, {2, 20, 37}, {15, 187, 238}};
constexpr Palette active{white, {5, 63, 34}, {2, 28, 20}, {63, 243, 105}};
constexpr Palette amber{white, {44, 42, 17}, {15, 25, 27}, {255, 205, 25}};
constexpr Palette cyan{white, {13, 86, 85}, {2, 29, 36}, {27, 216, 218}};
constexpr Palette red{white, {51, 25, 34}, {25, 17, 28}, {248, 88, 96}};
constexpr Palette disabledFace{{166, 192, 208}, {23, 46, 62}, {8, 21, 34}, {62, 104, 126}};

constexpr std::array<int32_t, 4> dwells{1000, 2000, 3000, 5000};

// A position beyond the face (a row that overhangs it) still gives a colour.
uint8_t blend(double a, double b, double weight) {
    return static_cast<uint8_t>(std::clamp(a * (1.0 - weight) + b * weight, 0.0, 255.0));
}

Colour blend(Colour a, Colour b, double weight) {
    return {blend(a.r, b.r, weight), blend(a.g, b.g, weight), blend(a.b, b.b, weight)};
}

// Index of `id` in the row [first, first + count), or -1.
int rowIndex(int id, int first, int count) {
    return id >= first && id < first + count ? id - first : -1;
}

// Whether a row button stands for the choice now made; false for a button
// that belongs to no row.
bool chosen(int id, const ButtonState& s) {
    if (int i = rowIndex(id, 300, 5); i >= 0) return s.modeSelection == i;
    if (int i = rowIndex(id, 320, 7); i >= 0) return s.stepSelection == i;
    if (int i = rowIndex(id, 340, 4); i >= 0) return s.spanSelection == i;
    switch (id) {
        case 360: return s.rangeSelection == 3;
        case 361: return s.rangeSelection == 1 || s.rangeSelection == 2;
        case 362: return s.rangeSelection == 0 || s.rangeSelection > 5;
        case 363: return s.rangeSelection == 4;
        default: break;
    }
    if (int i = rowIndex(id, 380, 4); i >= 0) return s.dwellMs == dwells[i];
    if (int i = rowIndex(id, 400, 3); i >= 0) {
        return s.bandwidth == presetWidths(s.modeSelection)[static_cast<std::size_t>(i)];
    }
    return false;
}

}  // namespace

Colour faceRowColour(Colour top, Colour bottom, int32_t row, int32_t height, bool pressed) {
    const double f = static_cast<double>(boundedPixel(row)) / std::max<int32_t>(1, boundedPixel(height) - 1);
    return pressed ? blend(top, bottom, 1.0 - f) : glossedGradient(top, bottom, f);
}

Colour glossedGradient(Colour top, Colour bottom, double position) {
    const double spread = (position - 0.18) / 0.22;
    return blend(blend(top, bottom, position), gloss, 0.12 * std::exp(-spread * spread));
}

Palette buttonPalette(int id, bool disabled, const ButtonState& state) {
    // While it is disabled during reception, the start button still shows
    // that reception runs.
    if (id == 100) return !disabled || state.running ? active : disabledFace;
    if (disabled) return disabledFace;
    switch (id) {
        case 102: return cyan;
        case 129:
        case 139: return red;
        case 134: return state.radioScanning ? active : normal;
        case 137: return {amberText, amber.top, amber.bottom, amber.border};
        case 138: return state.muted ? amber : normal;
        default: break;
    }
    return chosen(id, state) ? active : normal;
}

std::optional<int32_t> formBandwidth(const std::wstring& text) {
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used, 10);
        if (used != text.size()) return std::nullopt;
        return value;
    } catch (const std::logic_error&) {
        return std::nullopt;
    }
}

}  // namespace app
