#pragma once
// What the plot writes and how it colours the waterfall: names, the title and
// the line under it, the level and frequency grids, and the waterfall pixels.

#include "app/rules/plot_geometry.h"
#include "hf/records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

// "AM", "FM", "USB", "LSB", "CW" for modes 0 to 4; empty for any other.
const wchar_t* modeName(int32_t mode);

// "CB 11 m" on a CB channel, else the amateur band (ends included), else
// "Hors bande prédéfinie".
std::wstring bandName(uint32_t hz);

// "CB 11 m • Canal 19 • 27.185000 MHz • AM • Filtre 9000 Hz • Vue 480 kHz".
std::wstring plotTitle(const hf::Settings& form, int32_t span);

// The scan ranges that step through the CB channel table (range combo
// selection 0, or above 5).
bool cbTableRange(int rangeSelection);

// Second entry's frequency minus the first's, when the list has two.
std::optional<int64_t> scanStep(const std::vector<hf::Settings>& scanList);

// The line under the title: the scanner's state while it runs, else the
// manual tuning step.
struct ScanLine {
    bool scanning = false;
    std::wstring scanCaption;  // the scanner button's caption
    int rangeSelection = 0;
    std::optional<int64_t> scanStep;
    int32_t step = 100;
};
std::wstring plotSecondLine(const ScanLine& line);

// One horizontal level line of the spectrum with its label.
struct LevelLine {
    int32_t y = 0;
    std::wstring label;  // "%d", "+" before positive values
};
// From the first multiple of the step at or below `top` down to top - range.
std::vector<LevelLine> levelGrid(int32_t top, int32_t range, int32_t spectrumHeight);

// One of the nine vertical frequency lines, with its MHz label.
struct FrequencyLine {
    int32_t x = 0;
    int32_t labelX = 0;
    std::wstring label;  // MHz, three decimals
};
std::vector<FrequencyLine> frequencyGrid(const PlotGeometry& plot, uint32_t viewCentre,
                                         int32_t span);

// Colour table entry of a level: one per 0.1 dB from -150 dB, 0 to 1600.
inline constexpr int32_t waterfallColourCount = 1601;
using WaterfallColours = std::array<uint32_t, waterfallColourCount>;
int32_t colourIndex(float level);
WaterfallColours waterfallColourTable(int light, int range, int contrast);

// Columns the history is drawn moved by while a pan drag leads the
// published centre.
int64_t panShift(uint32_t formCentre, uint32_t publishedCentre, int32_t columns, int32_t span);

// The pixels of the history (row-major, `columns` wide), each column taken
// from `shift` columns further; columns beyond the history get entry 0.
void waterfallImage(const std::vector<float>& history, int32_t columns, int64_t shift,
                    const WaterfallColours& colours, std::vector<uint32_t>& pixels);

// The typical level of the history (a median of a sample), -90 dB when empty.
float referenceLevel(const std::vector<float>& history);

// The background setting a row of the strip beside the waterfall previews:
// 100 at the top row, 0 at the bottom.
int backgroundStripLight(int32_t row, int32_t height);

// The row of the spectrum trace for `level` dB: y = 44 at the top level, the
// spectrum's last row at top - range and below; a level that is no number
// lies at the bottom.
int32_t traceRow(float level, int32_t top, int32_t range, int32_t spectrumHeight);

// A slider beside the plot, as painted: its caption, the value written by
// it, and the knob's place along the track from 0 to 1.
struct PlotSlider {
    const wchar_t* caption;
    int32_t value;
    float fraction;
};

// The spectrum's two sliders, top level and range in dB, whose knobs move
// right from 0 over an 80-pixel track.
std::array<PlotSlider, 2> spectrumSliders(int32_t top, int32_t range);

// The three waterfall sliders, whose knobs move up from the bottom (0) to the
// top (1) of a track waterfallSliderTrack long; "Fond" is written as the
// level the background puts at the bottom of the map.
std::array<PlotSlider, 3> waterfallSliders(int32_t light, int32_t range, int32_t contrast);
int32_t waterfallSliderTrack(int32_t height);

// How far along a track `length` pixels long a knob at `fraction` is drawn;
// the waterfall's sliders and the background strip's marker count from the
// top, so they pass 1 − fraction.
int32_t knobOffset(float fraction, int32_t length);

}  // namespace app
