#pragma once
// The S-meter: how many of its twenty segments are lit, where each segment
// and scale label lies, their colours and the readout text. Coordinates are
// the layout's logical pixels.

#include "app/rules/paint_colour.h"
#include "hf/ui_layout.h"

#include <array>
#include <cstdint>
#include <string>

namespace app {

inline constexpr int meterSegmentCount = 20;
inline constexpr std::array<int, 5> meterScaleValues{-100, -80, -60, -40, -20};

// The meter's two forms: full in its own panel, compact in the caption band.
struct MeterGeometry {
    bool full = true;      // panel face, centred title and scale labels
    int32_t x0 = 0;        // left of the first segment
    int32_t length = 0;    // P: length of the row of segments
    int32_t baseline = 0;  // b
    int32_t arc = 1;       // t: length over which the segments rise
    int32_t topOffset = 0; // o
    int32_t topRise = 0;   // A
    int32_t bottomRise = 0;// K
    Rect readout;
};

MeterGeometry meterGeometry(const hf::Box& info, bool compact);

// Nothing lit unless reception runs unpaused; from -110 dBFS (none) to
// -20 dBFS (all twenty).
int litSegments(bool running, bool paused, float level);

// Corners of segment i: top left, top right, bottom right, bottom left. An
// index beyond the row stands for its nearest end, here and for the colour.
std::array<Point, 4> meterSegment(const MeterGeometry& meter, int i);

// Colour of segment i along the six colour stops, and how it is shown unlit
// and along the top edge of a lit segment.
Colour segmentColour(int i);
Colour unlitSegmentColour(Colour colour);
Colour litEdgeColour(Colour colour);

// Where the scale label of `value` dBFS is centred.
Rect scaleLabelBox(const MeterGeometry& meter, int value);

// The level in whole dBFS while reception runs unpaused, else a dash.
std::wstring meterReadout(bool running, bool paused, float level);

}  // namespace app
