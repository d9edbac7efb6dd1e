#include "app/rules/plot_geometry.h"

#include "app/rules/value_bounds.h"
#include "hf/passband.h"

#include <algorithm>
#include <cmath>

namespace app {

namespace {

int32_t handleMiddle(PassbandColumns edges) {
    return static_cast<int32_t>((static_cast<int64_t>(edges.lo) + edges.hi) / 2);
}

// Kept inside the 32-bit range, for edges that lie there already.
int32_t saturated(int64_t column) {
    return static_cast<int32_t>(std::clamp<int64_t>(column, INT32_MIN, INT32_MAX));
}

}  // namespace

PlotGeometry plotGeometry(int32_t clientWidth, int32_t clientHeight, float uiScale) {
    PlotGeometry plot;
    const float scale = boundedScale(uiScale);
    plot.width = boundedPixel(static_cast<int32_t>(static_cast<float>(boundedPixel(clientWidth)) / scale));
    plot.height = boundedPixel(static_cast<int32_t>(static_cast<float>(boundedPixel(clientHeight)) / scale));
    plot.columns = std::max<int32_t>(1, plot.width - 160);
    plot.mid = 50 + plot.columns / 2;
    const int64_t body = static_cast<int64_t>(plot.height) - 80;
    plot.spectrumHeight = body * 66 <= 199 ? 1 : static_cast<int32_t>(body * 66 / 100);
    plot.waterfallHeight = (body * 34 <= 199 || plot.spectrumHeight == 1)
                               ? 1
                               : static_cast<int32_t>(body * 34 / 100);
    return plot;
}

PlotGeometry boundedPlot(const PlotGeometry& p) {
    const auto length = [](int32_t v) { return std::clamp(v, 1, pixelBound); };
    return {boundedPixel(p.width),       boundedPixel(p.height),        length(p.columns),
            boundedPixel(p.mid),         length(p.spectrumHeight),      length(p.waterfallHeight)};
}

int32_t offsetColumn(const PlotGeometry& given, int64_t offsetHz, int32_t span) {
    const PlotGeometry plot = boundedPlot(given);
    const double safeSpan = span > 0 ? span : 1;
    const double column = std::trunc(static_cast<double>(offsetHz) * plot.columns / safeSpan);
    return plot.mid + static_cast<int32_t>(std::clamp(column, -1e9, 1e9));
}

double columnFrequency(const PlotGeometry& plot, int32_t x, uint32_t viewCentre, int32_t span) {
    return viewCentre + ((static_cast<double>(x) - 50.0) / boundedPlot(plot).columns - 0.5) * span;
}

int64_t tunedOffset(const hf::Settings& form) {
    return form.center != 0 ? static_cast<int64_t>(form.Frequency) - form.center : 0;
}

PassbandColumns passbandColumns(const PlotGeometry& plot, const hf::Settings& form, int32_t span) {
    const hf::Passband band = hf::passband(form.Mode, form.Bandwidth);
    const int64_t offset = tunedOffset(form);
    return {offsetColumn(plot, offset + band.lo, span), offsetColumn(plot, offset + band.hi, span)};
}

int32_t lowerHandleColumn(PassbandColumns edges) {
    return saturated(std::min<int64_t>(int64_t{handleMiddle(edges)} - 12, edges.lo));
}

int32_t upperHandleColumn(PassbandColumns edges) {
    return saturated(std::max<int64_t>(int64_t{handleMiddle(edges)} + 12, edges.hi));
}

}  // namespace app
