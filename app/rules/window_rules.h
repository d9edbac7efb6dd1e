#pragma once
// The borderless main window's frame, the window sizes, the sliders, the
// control looks and the plot's mouse cursor, decided from plain values: the
// window procedures gather the inputs and apply what these return.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/rules/paint_colour.h"
#include "app/rules/plot_geometry.h"
#include "hf/records.h"

namespace app {

// Window pixels to logical (96-DPI) pixels, truncated towards zero.
int32_t logicalPixel(int32_t pixels, float uiScale);

// Where a point of the main window falls.
enum class FrameHit {
    client,
    caption,
    left,
    right,
    top,
    bottom,
    topLeft,
    topRight,
    bottomLeft,
    bottomRight,
};

// `window` is the window rectangle and `screen` the point in screen pixels,
// `client` the same point in client pixels. The resize border (6 logical
// pixels) exists only while the window is not maximised; the caption band
// (28 high) drags the window left of the three caption buttons.
FrameHit frameHit(bool maximised, float uiScale, Rect window, Point screen, Point client,
                  int32_t layoutWidth);

// What a release of the left button in the caption band does. `passOn`: the
// release lies below the band and goes to the default processing.
enum class CaptionAction { passOn, none, close, toggleMaximised, minimise };

CaptionAction captionAction(Point client, float uiScale, int32_t layoutWidth);

// The main window's size on a work area, at a scale: 1320 x 740 logical
// pixels, each side at most the work area's. A side of the work area that is
// not positive (an area that could not be read) sets no limit.
Point windowSize(float uiScale, int32_t workWidth, int32_t workHeight);

struct MonitorArea {
    Rect monitor;
    Rect work;
};

struct MaximisedPlace {
    Point size;
    Point position;  // relative to the monitor's corner
};

struct TrackingSizes {
    Point minTrack;
    std::optional<MaximisedPlace> maximised;  // none when the monitor is unknown
};

// The smallest size the user can drag the window to (1020 x 720 logical
// pixels, at most the work area), and where a maximised window lies: over
// the work area, not the whole monitor.
TrackingSizes trackingSizes(float uiScale, const std::optional<MonitorArea>& monitor);

// The squelch slider's position (0 to 100) as the squelch value (0 to 110).
int32_t squelchFromSlider(int32_t position);

// "Squelch : -40 dBFS", or "Squelch OFF — écoute sans seuil" at 0.
std::wstring squelchStatus(int32_t squelch);

// How the control factory makes a control of a window class and style: a
// "BUTTON" is drawn by the program unless its two lowest style bits are both
// set (the automatic check boxes), which keep the system's look without
// visual styles; every other control takes the dark theme.
enum class ControlLook { darkTheme, ownerDrawnButton, plainCheckBox };

ControlLook controlLook(std::wstring_view className, uint32_t style);

// Whether the plot shows the horizontal-resize cursor at the logical point
// (x, y): over the passband's grabbable edges, over its handles in the band
// below the scale, or anywhere inside it while Shift is held.
bool resizeCursor(const PlotGeometry& plot, Point logical, const hf::Settings& form, int32_t span,
                  bool shift);

}  // namespace app
