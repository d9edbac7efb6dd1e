#include "app/rules/construction_rules.h"

#include "app/rules/form_reading.h"
#include "app/rules/reception_rules.h"
#include "app/rules/value_bounds.h"

#include <algorithm>
#include <cmath>

namespace app {

namespace {

constexpr int autoThresholdItem = 0;
constexpr int widestSpanItem = 3;
constexpr int32_t captionBand = 28;
constexpr int32_t listRoom = 160;

}  // namespace

int gainSelection(int32_t gain) {
    const int32_t nearest = nearestGain(gains, gain);
    return static_cast<int>(std::find(gains.begin(), gains.end(), nearest) - gains.begin());
}

int thresholdSelection(bool autoThreshold, float threshold) {
    if (autoThreshold) return autoThresholdItem;
    const float whole = std::trunc(threshold);
    if (!(whole >= -60.0f)) return 1;
    if (whole >= -20.0f) return 4;
    return (static_cast<int>(whole) + 70) / 10;
}

int spanSelection(int32_t spectrumSpan) {
    switch (spectrumSpan) {
    case 12000: return 0;
    case 48000: return 1;
    case 96000: return 2;
    default: return widestSpanItem;
    }
}

int squelchPosition(int32_t squelch) {
    return static_cast<int>(std::lround(squelch * 100.0 / 110.0));
}

int audioOutputSelection(const std::vector<std::wstring>& outputNames, const std::wstring& remembered) {
    const auto last = std::find(outputNames.rbegin(), outputNames.rend(), remembered);
    if (last == outputNames.rend()) return 0;
    return static_cast<int>(outputNames.rend() - last);
}

float uiScale(std::optional<uint32_t> windowDpi, int32_t workWidth, int32_t workHeight) {
    // A DPI of 0 is the platform's answer for a window it cannot judge, and a
    // work area that could not be read must not shrink the window to nothing.
    float scale = windowDpi && *windowDpi != 0 ? static_cast<float>(*windowDpi) / 96.0f : 1.0f;
    if (workHeight > 0) scale = std::min(scale, static_cast<float>(workHeight) / 700.0f);
    if (workWidth > 0) scale = std::min(scale, static_cast<float>(workWidth) / 1020.0f);
    return boundedScale(scale);
}

int32_t scaled(int32_t logical, float scale) {
    return static_cast<int32_t>(
        std::lround(static_cast<float>(boundedPixel(logical)) * boundedScale(scale)));
}

FontSizes fontSizes(float scale) {
    return {-scaled(16, scale), -scaled(30, scale), -scaled(21, scale), scaled(23, scale)};
}

LogicalSize logicalClientSize(int32_t clientRight, int32_t clientBottom, float scale) {
    const auto logical = [scale](int32_t pixels) {
        return static_cast<int32_t>(static_cast<float>(boundedPixel(pixels)) / boundedScale(scale));
    };
    return {logical(clientRight), logical(clientBottom) - captionBand};
}

bool opensListBelow(int id) {
    switch (id) {
    case 108: case 113: case 115: case 117: case 121: case 133: return true;
    default: return false;
    }
}

hf::Box windowBox(int id, const hf::Box& given, float scale) {
    const hf::Box box = boundedBox(given);
    const int32_t height = box.h + (opensListBelow(id) ? listRoom : 0);
    return {scaled(box.x, scale), scaled(box.y + captionBand, scale), scaled(box.w, scale),
            scaled(height, scale)};
}

hf::Box plotWindowBox(const hf::Box& plot, float scale) { return windowBox(0, plot, scale); }

const wchar_t* listenCaption(bool running, bool paused) {
    if (running && paused) return L"EN PAUSE";
    return startCaption(running);
}

}  // namespace app
