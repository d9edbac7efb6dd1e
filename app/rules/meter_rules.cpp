#include "app/rules/meter_rules.h"

#include "app/rules/value_bounds.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <numbers>
#include <sstream>

namespace app {

namespace {

constexpr std::array<Colour, 6> stops{{
    {44, 218, 240}, {50, 235, 122}, {152, 245, 69}, {250, 230, 48}, {255, 146, 35}, {255, 57, 48},
}};

constexpr float quarter = std::numbers::pi_v<float> / 2.0f;

// How high along the quarter sine a point `along` pixels from x0 lies.
float rise(int32_t along, int32_t arc) {
    return std::sin(quarter * std::clamp(static_cast<float>(along) / static_cast<float>(arc), 0.0f, 1.0f));
}

int32_t segmentIndex(int i) { return std::clamp(i, 0, meterSegmentCount - 1); }

// A geometry as meterGeometry can make it.
MeterGeometry bounded(const MeterGeometry& m) {
    return {m.full, boundedPixel(m.x0), boundedPixel(m.length), boundedPixel(m.baseline),
            std::clamp(m.arc, 1, pixelBound), boundedPixel(m.topOffset), boundedPixel(m.topRise),
            boundedPixel(m.bottomRise), boundedRect(m.readout)};
}

Colour scaled(Colour c, float factor, float r, float g, float b) {
    return {static_cast<uint8_t>(c.r * factor + r), static_cast<uint8_t>(c.g * factor + g),
            static_cast<uint8_t>(c.b * factor + b)};
}

}  // namespace

MeterGeometry meterGeometry(const hf::Box& given, bool compact) {
    const hf::Box info = boundedBox(given);
    if (compact)
        return {false, info.x + 178, 90, info.y + 21, 88, 4, 10, 2,
                {info.x + 75, info.y + 4, info.x + 176, info.y + 24}};
    return {true, info.x + 14, info.w - 28, info.y + 56, std::max(1, info.w - 30), 6, 17, 4,
            {info.x, info.y + 58, info.x + info.w, info.y + 77}};
}

int litSegments(bool running, bool paused, float level) {
    if (!running || paused) return 0;
    const double r = (110.0 + level) / 90.0;
    // A level that is no number lights nothing rather than a random count.
    if (!(r >= 0.0)) return 0;
    if (r > 1.0) return meterSegmentCount;
    return static_cast<int>(meterSegmentCount * r);
}

std::array<Point, 4> meterSegment(const MeterGeometry& given, int segment) {
    const MeterGeometry m = bounded(given);
    const int32_t i = segmentIndex(segment);
    const int32_t left = (i * m.length) / meterSegmentCount;
    const int32_t right = ((i + 1) * m.length) / meterSegmentCount - 2;
    const float hl = rise(left, m.arc);
    const float hr = rise(right, m.arc);
    const int32_t top = m.baseline - m.topOffset;
    return {{{m.x0 + left, top - static_cast<int32_t>(std::lround(m.topRise * hl))},
             {m.x0 + right, top - static_cast<int32_t>(std::lround(m.topRise * hr))},
             {m.x0 + right, m.baseline - static_cast<int32_t>(std::lround(m.bottomRise * hr))},
             {m.x0 + left, m.baseline - static_cast<int32_t>(std::lround(m.bottomRise * hl))}}};
}

Colour segmentColour(int i) {
    const float p = 5.0f * static_cast<float>(segmentIndex(i)) / 19.0f;
    const int k = std::min(static_cast<int>(p), 4);
    const float f = p - static_cast<float>(k);
    const Colour a = stops[k];
    const Colour b = stops[k + 1];
    const auto mix = [f](uint8_t x, uint8_t y) { return static_cast<uint8_t>(x * (1.0f - f) + y * f); };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

Colour unlitSegmentColour(Colour colour) { return scaled(colour, 0.2f, 4.0f, 16.8f, 26.4f); }

Colour litEdgeColour(Colour colour) { return scaled(colour, 0.65f, 84.0f, 89.25f, 89.25f); }

Rect scaleLabelBox(const MeterGeometry& given, int value) {
    const MeterGeometry m = bounded(given);
    const float e = static_cast<float>(boundedLevel(value) + 110) / 90.0f;
    const int32_t middle = m.x0 + static_cast<int32_t>(e * static_cast<float>(m.length - 1));
    const int32_t g = static_cast<int32_t>(std::lround(17.0f * std::sin(quarter * std::clamp(e, 0.0f, 1.0f))));
    const int32_t bottom = m.baseline - 6 - g;
    return {middle - 16, bottom - 14, middle + 16, bottom};
}

std::wstring meterReadout(bool running, bool paused, float level) {
    std::wostringstream text;
    if (!running || paused)
        text << L"—";
    else
        text << std::fixed << std::setprecision(0) << level;
    text << L" dBFS";
    return text.str();
}

}  // namespace app
