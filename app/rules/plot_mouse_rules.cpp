#include "app/rules/plot_mouse_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/rules/value_bounds.h"
#include "hf/modes.h"
#include "hf/passband.h"

namespace app {

namespace {

constexpr int64_t lowestHz = 500000;
constexpr int64_t highestHz = 52000000;
constexpr int32_t titleBottom = 44;       // the spectrum starts here
constexpr int32_t handleBandBottom = 62;  // the drag handles above the spectrum
constexpr uint64_t applyIntervalMs = 100;

uint32_t clampHz(int64_t hz) { return static_cast<uint32_t>(std::clamp(hz, lowestHz, highestHz)); }

int64_t floorToMultiple(int64_t value, int64_t step) {
    const int64_t rest = value % step;
    return value - (rest < 0 ? rest + step : rest);
}

int32_t pressOnPanel(const PlotGeometry& plot, int32_t x, int32_t y) {
    if (y > 169) {
        const int32_t d = x - plot.columns;
        if (d <= 92) return dragLightSlider;
        return d <= 125 ? dragWaterfallRangeSlider : dragContrastSlider;
    }
    return y < 102 ? dragTopSlider : dragRangeSlider;
}

int32_t pressOnPassband(const PlotGeometry& plot, int32_t span, const hf::Settings& form, int32_t x,
                        int32_t y, bool shift) {
    const hf::Passband band = hf::passband(form.Mode, form.Bandwidth);
    const PassbandColumns edges = passbandColumns(plot, form, span);
    const int32_t xlo = edges.lo;
    const int32_t xhi = edges.hi;
    const int32_t width = offsetColumn(plot, band.hi, span) - offsetColumn(plot, band.lo, span);
    const bool narrow = width <= 12;
    const bool lowerEdge = form.Mode != hf::modeUSB;
    const bool upperEdge = form.Mode != hf::modeLSB;

    int32_t mode = dragNone;
    if (y >= titleBottom && y <= handleBandBottom) {
        if (lowerEdge && std::abs(x - lowerHandleColumn(edges)) <= 7)
            mode = dragLowerEdge;
        else if (upperEdge && std::abs(x - upperHandleColumn(edges)) <= 7)
            mode = dragUpperEdge;
    }
    if (mode == dragNone) {
        if (narrow && x >= xlo - 4 && x <= xhi + 4)
            mode = dragFrequency;
        else if (lowerEdge && std::abs(x - xlo) <= 4)
            mode = dragLowerEdge;
        else if (upperEdge && std::abs(x - xhi) <= 4)
            mode = dragUpperEdge;
        else if (x < xlo || x > xhi)
            mode = dragView;
        else
            mode = dragFrequency;
    }
    // A passband too narrow to grab an edge is widened from the side of the press.
    if (narrow && shift) mode = x >= (xlo + xhi) / 2 ? dragUpperEdge : dragLowerEdge;
    return mode;
}

}  // namespace

Press pressAt(const PlotGeometry& given, int32_t span, const hf::Settings& form, int32_t x, int32_t y,
              bool shift) {
    const PlotGeometry plot = boundedPlot(given);
    x = boundedPixel(x);
    y = boundedPixel(y);
    if (x > plot.columns + 59) return {pressOnPanel(plot, x, y), true, false};
    if (x <= 49) {
        if (x >= 12 && x <= 40 && y > plot.spectrumHeight + 44) return {dragLightStrip, true, false};
        return {dragScale, false, false};
    }
    if (y < titleBottom) return {};
    return {pressOnPassband(plot, span, form, x, y, shift), false, true};
}

DragStart dragStart(int32_t x, int32_t y, int32_t spectrumTop, const hf::Settings& form) {
    return {boundedPixel(x), boundedPixel(y), spectrumTop, viewCentre(form.center, form.Frequency),
            form.Frequency, form.Bandwidth};
}

bool isClick(int32_t mode, const DragStart& start, int32_t x, int32_t y) {
    return (mode == dragFrequency || mode == dragView) &&
           std::abs(boundedPixel(x) - boundedPixel(start.x)) <= 3 &&
           std::abs(boundedPixel(y) - boundedPixel(start.y)) <= 3;
}

void dragTo(int32_t mode, const DragView& view, const DragStart& given, int32_t x, int32_t y,
            hf::Settings& form, DisplayLevels& levels) {
    const PlotGeometry plot = boundedPlot(view.plot);
    DragStart start = given;
    start.x = boundedPixel(start.x);
    start.y = boundedPixel(start.y);
    x = boundedPixel(x);
    y = boundedPixel(y);
    const double hzPerPixel = static_cast<double>(view.span) / plot.columns;
    // Multiplied before dividing, so that no width rounds a drag a hertz off.
    const int64_t dHz = std::llround(static_cast<double>(x - start.x) * view.span / plot.columns);
    switch (mode) {
    case dragFrequency: {
        const int64_t step = std::clamp<int64_t>(form.Step, 1, 100);
        form.Frequency = clampHz(floorToMultiple(start.frequency + dHz + step / 2, step));
        break;
    }
    case dragView:
        // The content follows the mouse.
        form.center = clampHz(static_cast<int64_t>(start.centre) - dHz);
        break;
    case dragLowerEdge:
    case dragUpperEdge: {
        int64_t move = dHz;
        int64_t sides = form.Mode == hf::modeUSB || form.Mode == hf::modeLSB ? 1 : 2;
        if (form.Mode == hf::modeCW) move = std::lround((x - start.x) * std::min(hzPerPixel, 25.0));
        if (mode == dragLowerEdge) move = -move;
        form.Bandwidth =
            static_cast<int32_t>(std::clamp<int64_t>(start.bandwidth + sides * move, 100, 15000));
        break;
    }
    case dragScale: {
        // Dragging down raises the top level, so the trace follows the mouse.
        const int64_t twiceHeight = 2 * static_cast<int64_t>(plot.height);
        const int64_t divisor = twiceHeight > 5 ? twiceHeight / 3 : 1;
        const int64_t delta = static_cast<int64_t>(y - start.y) * levels.spectrumRange / divisor;
        levels.spectrumTop = static_cast<int32_t>(std::clamp<int64_t>(start.top + delta, -100, 20));
        break;
    }
    case dragTopSlider:
    case dragRangeSlider: {
        const float v = static_cast<float>(x - plot.columns - 65) / 80.0f;
        const float q = v < 0 ? 0.0f : v > 1 ? 120.0f : 120.0f * v;
        if (mode == dragTopSlider)
            levels.spectrumTop = static_cast<int32_t>(q - 100);
        else
            levels.spectrumRange = static_cast<int32_t>(q + 20);
        break;
    }
    case dragLightSlider:
    case dragWaterfallRangeSlider:
    case dragContrastSlider: {
        const float track = std::max(boundedPixel(view.logicalHeight) - 228.0f, 20.0f);
        const float u = std::clamp(1.0f - static_cast<float>(y - 194) / track, 0.0f, 1.0f);
        if (mode == dragLightSlider)
            levels.waterfallLight = static_cast<int32_t>(u * 100);
        else if (mode == dragWaterfallRangeSlider)
            levels.waterfallRange = static_cast<int32_t>(u * 85 + 15);
        else
            levels.waterfallContrast = static_cast<int32_t>(u * 100);
        break;
    }
    case dragLightStrip: {
        const float t = 1.0f - static_cast<float>(y - plot.spectrumHeight - 45) /
                                   static_cast<float>(plot.waterfallHeight);
        levels.waterfallLight = t < 0 ? 0 : t > 1 ? 100 : static_cast<int32_t>(t * 100);
        break;
    }
    default:
        break;
    }
}

DragPublish dragPublish(int32_t mode, bool release, uint64_t nowMs, uint64_t lastApplyMs) {
    if (mode < dragFrequency || mode > dragView) return DragPublish::none;
    if (release) return DragPublish::publishAndSave;
    if (mode == dragView) return DragPublish::none;
    // Nothing applied yet in this drag: the first move goes at once.
    if (lastApplyMs == 0 || nowMs - lastApplyMs >= applyIntervalMs) return DragPublish::publish;
    return DragPublish::none;
}

std::optional<uint32_t> clickFrequency(const PlotGeometry& given, int32_t span, const hf::Settings& form,
                                       int32_t x) {
    const PlotGeometry plot = boundedPlot(given);
    if (x < 50 || x > plot.columns + 50) return std::nullopt;
    const double offset = std::trunc((static_cast<double>(x - 50) / plot.columns - 0.5) * span);
    return clampHz(static_cast<int64_t>(offset) + viewCentre(form.center, form.Frequency));
}

}  // namespace app
