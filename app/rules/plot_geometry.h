#pragma once
// Where the plot draws what, in logical pixels (96-DPI units): the display
// tick, the plot painter, the plot mouse and the cursor rule share it.

#include <cstdint>

#include "hf/records.h"

namespace app {

struct PlotGeometry {
    int32_t width = 0;     // W: client width in logical pixels
    int32_t height = 0;    // H
    int32_t columns = 1;   // L: spectrum and waterfall columns, from x = 50
    int32_t mid = 50;      // column of the view centre
    int32_t spectrumHeight = 1;   // from y = 44
    int32_t waterfallHeight = 1;  // from y = spectrumHeight + 45
};

// From the plot's client size in device pixels and the scale of the window.
PlotGeometry plotGeometry(int32_t clientWidth, int32_t clientHeight, float uiScale);

// `plot` with each figure held to what plotGeometry can make: the rules that
// take a geometry start from it.
PlotGeometry boundedPlot(const PlotGeometry& plot);

// The column (not clamped) where an offset of `offsetHz` from the view centre
// is drawn on a view `span` Hz wide.
int32_t offsetColumn(const PlotGeometry& plot, int64_t offsetHz, int32_t span);

// The frequency column x (50 <= x < 50 + columns) stands for.
double columnFrequency(const PlotGeometry& plot, int32_t x, uint32_t viewCentre, int32_t span);

// The view centre: the hardware centre, or the tuned frequency while none is set.
inline uint32_t viewCentre(uint32_t centre, uint32_t frequency) {
    return centre != 0 ? centre : frequency;
}

// The tuned frequency's offset from the view centre: 0 while no centre is set.
int64_t tunedOffset(const hf::Settings& form);

// Columns (not clamped) of the passband edges of `form` on a view `span` Hz wide.
struct PassbandColumns {
    int32_t lo = 0;
    int32_t hi = 0;
};
PassbandColumns passbandColumns(const PlotGeometry& plot, const hf::Settings& form, int32_t span);

// The drag handles above the spectrum stay at least 24 px apart, however
// narrow the passband.
int32_t lowerHandleColumn(PassbandColumns edges);
int32_t upperHandleColumn(PassbandColumns edges);

}  // namespace app
