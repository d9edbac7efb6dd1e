#pragma once
// The plot under the left button: what a press drags, how each drag changes
// the form and the display levels, when a drag reaches the receiver, and the
// frequency a click tunes to. Coordinates are logical pixels of the plot.

#include <cstdint>
#include <optional>

#include "app/rules/plot_geometry.h"
#include "hf/records.h"

namespace app {

// What a drag moves (the values of App::dragMode).
inline constexpr int32_t dragNone = 0;
inline constexpr int32_t dragFrequency = 1;
inline constexpr int32_t dragLowerEdge = 2;
inline constexpr int32_t dragUpperEdge = 3;
inline constexpr int32_t dragView = 4;
inline constexpr int32_t dragScale = 5;
inline constexpr int32_t dragTopSlider = 10;
inline constexpr int32_t dragRangeSlider = 11;
inline constexpr int32_t dragLightSlider = 12;
inline constexpr int32_t dragWaterfallRangeSlider = 13;
inline constexpr int32_t dragContrastSlider = 14;
inline constexpr int32_t dragLightStrip = 15;

struct Press {
    int32_t mode = dragNone;     // dragNone: the press takes no capture
    bool appliesAtOnce = false;  // a slider or the strip jumps to the press itself
    bool stopsScanner = false;   // a press on the spectrum or the waterfall
};

// `shift`: the Shift key is held.
Press pressAt(const PlotGeometry& plot, int32_t span, const hf::Settings& form, int32_t x, int32_t y,
              bool shift);

// The state a drag starts from.
struct DragStart {
    int32_t x = 0;
    int32_t y = 0;
    int32_t top = 0;         // spectrumTop
    uint32_t centre = 0;     // the view centre
    uint32_t frequency = 0;
    int32_t bandwidth = 0;
};

DragStart dragStart(int32_t x, int32_t y, int32_t spectrumTop, const hf::Settings& form);

// The display settings the sliders, the strip and the scale drag set.
struct DisplayLevels {
    int32_t spectrumTop = -20;
    int32_t spectrumRange = 100;
    int32_t waterfallLight = 50;
    int32_t waterfallRange = 65;
    int32_t waterfallContrast = 50;

    bool operator==(const DisplayLevels&) const = default;
};

struct DragView {
    PlotGeometry plot;
    int32_t span = 480000;
    float logicalHeight = 0;  // the client height divided by the scale, not truncated
};

// A release this close to the press, on the frequency or the view, is a
// click that tunes rather than a drag.
bool isClick(int32_t mode, const DragStart& start, int32_t x, int32_t y);

// Moves the dragged value to (x, y): the form's frequency, bandwidth or view
// centre, or one of the levels; each kept in its range.
void dragTo(int32_t mode, const DragView& view, const DragStart& start, int32_t x, int32_t y,
            hf::Settings& form, DisplayLevels& levels);

enum class DragPublish { none, publish, publishAndSave };

// Whether this move (or the release) applies the form: the frequency and the
// edges at most every 100 ms and at the first move, the view at the release
// only; every drag of the form is applied and saved at its release.
DragPublish dragPublish(int32_t mode, bool release, uint64_t nowMs, uint64_t lastApplyMs);

// The frequency a click on column x tunes to, exactly (no step rounding); nothing
// outside the spectrum's columns.
std::optional<uint32_t> clickFrequency(const PlotGeometry& plot, int32_t span, const hf::Settings& form,
                                       int32_t x);

}  // namespace app
