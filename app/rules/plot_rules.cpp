#include "app/rules/plot_rules.h"

#include "app/rules/value_bounds.h"
#include "hf/cb_plan.h"
#include "hf/waterfall_colours.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace app {

namespace {

struct Band {
    uint32_t lower;
    uint32_t upper;
    const wchar_t* name;
};

constexpr Band bands[] = {
    {1800000, 2000000, L"160 mètres"},
    {3500000, 3800000, L"80 mètres"},
    {7000000, 7200000, L"40 mètres"},
    {10100000, 10150000, L"30 mètres"},
    {14000000, 14350000, L"20 mètres"},
    {18068000, 18168000, L"17 mètres"},
    {21000000, 21450000, L"15 mètres"},
    {24890000, 24990000, L"12 mètres"},
    {26515000, 27855000, L"CB / extensions — 11 mètres"},
    {28000000, 29700000, L"10 mètres"},
    {50000000, 52000000, L"6 mètres"},
};

constexpr const wchar_t* separator = L" • ";

std::wstring decimal(int64_t value) { return std::to_wstring(value); }

// Fixed notation with a point whatever the C locale says.
std::wstring fixedText(double value, int decimals) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                   decimals);
    return std::wstring(buffer, end.ptr);
}

}  // namespace

const wchar_t* modeName(int32_t mode) {
    static constexpr const wchar_t* names[] = {L"AM", L"FM", L"USB", L"LSB", L"CW"};
    return mode >= 0 && mode < 5 ? names[mode] : L"";
}

std::wstring bandName(uint32_t hz) {
    if (!hf::cbChannelName(hz).empty()) return L"CB 11 m";
    for (const Band& band : bands)
        if (band.lower <= hz && hz <= band.upper) return band.name;
    return L"Hors bande prédéfinie";
}

std::wstring plotTitle(const hf::Settings& form, int32_t span) {
    std::wstring title = bandName(form.Frequency);
    const std::wstring channel = hf::cbChannelName(form.Frequency);
    if (!channel.empty()) title += separator + channel;
    std::wstring micro = decimal(form.Frequency % 1000000);
    micro.insert(0, 6 - micro.size(), L'0');
    title += separator + decimal(form.Frequency / 1000000) + L"." + micro + L" MHz" + separator + modeName(form.Mode) +
             L" • Filtre " + decimal(form.Bandwidth) + L" Hz • Vue " + decimal(span / 1000) +
             L" kHz";
    return title;
}

bool cbTableRange(int rangeSelection) { return rangeSelection == 0 || rangeSelection > 5; }

std::optional<int64_t> scanStep(const std::vector<hf::Settings>& scanList) {
    if (scanList.size() < 2) return std::nullopt;
    return static_cast<int64_t>(scanList[1].Frequency) - scanList[0].Frequency;
}

std::wstring plotSecondLine(const ScanLine& line) {
    if (!line.scanning) return L"Accord manuel • Pas +/− : " + decimal(line.step) + L" Hz";
    std::wstring text = L"Scan : " + line.scanCaption;
    if (cbTableRange(line.rangeSelection))
        text += L" • table des canaux CB";
    else if (line.scanStep)
        text += L" • pas " + decimal(*line.scanStep) + L" Hz";
    return text;
}

std::vector<LevelLine> levelGrid(int32_t top, int32_t range, int32_t spectrumHeight) {
    std::vector<LevelLine> lines;
    if (range <= 0) return lines;
    top = boundedLevel(top);
    range = std::min(range, 2 * levelBound);
    spectrumHeight = boundedPixel(spectrumHeight);
    const int32_t step = range < 31 ? 5 : range > 70 ? 20 : 10;
    // Rounded down, also for negative tops, so no line lies above the top.
    const int32_t first = static_cast<int32_t>(std::floor(static_cast<double>(top) / step)) * step;
    for (int32_t v = first; v >= top - range; v -= step) {
        const double y = static_cast<double>(top - v) * spectrumHeight / range;
        lines.push_back({44 + static_cast<int32_t>(std::lround(y)),
                         (v > 0 ? L"+" : L"") + decimal(v)});
    }
    return lines;
}

std::vector<FrequencyLine> frequencyGrid(const PlotGeometry& given, uint32_t viewCentre,
                                         int32_t span) {
    const PlotGeometry plot = boundedPlot(given);
    std::vector<FrequencyLine> lines;
    for (int32_t i = 0; i <= 8; ++i) {
        const int32_t x = 50 + static_cast<int32_t>(static_cast<int64_t>(i) * plot.columns / 8);
        const double hz = span * (i / 8.0 - 0.5) + viewCentre;
        lines.push_back({x, std::min(x - 28, plot.columns - 23), fixedText(hz / 1e6, 3)});
    }
    return lines;
}

int32_t colourIndex(float level) {
    const float index = (level + 150.0f) * 10.0f;
    // Also catches NaN, which a cast to an integer must never see.
    if (!(index >= 0.0f)) return 0;
    if (index >= 1600.0f) return 1600;
    return static_cast<int32_t>(index);
}

WaterfallColours waterfallColourTable(int light, int range, int contrast) {
    WaterfallColours colours{};
    for (int32_t k = 0; k < waterfallColourCount; ++k)
        colours[k] = hf::waterfallMapped(static_cast<float>(k * 0.1 - 150.0), light, range, contrast);
    return colours;
}

int64_t panShift(uint32_t formCentre, uint32_t publishedCentre, int32_t columns, int32_t span) {
    if (span <= 0) return 0;
    const double shift = (static_cast<double>(formCentre) - static_cast<double>(publishedCentre)) *
                         boundedPixel(columns) / span;
    return std::llround(shift);
}

void waterfallImage(const std::vector<float>& history, int32_t columns, int64_t shift,
                    const WaterfallColours& colours, std::vector<uint32_t>& pixels) {
    pixels.resize(history.size());
    if (columns <= 0) return;
    // Any shift of a whole row or more leaves every column beyond the history.
    shift = std::clamp<int64_t>(shift, -columns, columns);
    for (size_t j = 0; j < history.size(); ++j) {
        const int64_t column = static_cast<int64_t>(j % columns) + shift;
        // A last row cut short counts as beyond the history too.
        const size_t source = j - j % columns + static_cast<size_t>(column);
        if (column < 0 || column >= columns || source >= history.size()) {
            pixels[j] = colours[0];
            continue;
        }
        pixels[j] = colours[colourIndex(history[source])];
    }
}

float referenceLevel(const std::vector<float>& history) {
    if (history.empty()) return -90.0f;
    const size_t stride = history.size() <= 257 ? 1 : history.size() / 129;
    std::vector<float> sample;
    for (size_t i = 0; i < history.size(); i += stride) sample.push_back(history[i]);
    const auto middle = sample.begin() + static_cast<std::ptrdiff_t>(sample.size() / 2);
    std::nth_element(sample.begin(), middle, sample.end());
    return *middle;
}

int backgroundStripLight(int32_t row, int32_t height) {
    const int32_t last = std::max(boundedPixel(height) - 1, 1);
    const int32_t inStrip = std::clamp(row, 0, last);
    return static_cast<int>((1.0 - inStrip / static_cast<double>(last)) * 100.0);
}

int32_t traceRow(float level, int32_t top, int32_t range, int32_t spectrumHeight) {
    const float levels = static_cast<float>(std::max(range, 1));
    const float below = (static_cast<float>(top) - level) / levels;
    const float t = std::isnan(below) ? 1.0f : std::clamp(below, 0.0f, 1.0f);
    return static_cast<int32_t>(t * static_cast<float>(boundedPixel(spectrumHeight))) + 44;
}

std::array<PlotSlider, 2> spectrumSliders(int32_t top, int32_t range) {
    top = boundedLevel(top);
    range = boundedLevel(range);
    return {{
        {L"Décalage", top, static_cast<float>(top + 100) / 120.0f},
        {L"Échelle", range, static_cast<float>(range - 20) / 120.0f},
    }};
}

std::array<PlotSlider, 3> waterfallSliders(int32_t light, int32_t range, int32_t contrast) {
    light = boundedLevel(light);
    range = boundedLevel(range);
    contrast = boundedLevel(contrast);
    return {{
        {L"Fond", static_cast<int32_t>(0.8f * static_cast<float>(light) - 130.0f),
         static_cast<float>(light) / 100.0f},
        {L"Plage", range, static_cast<float>(range - 15) / 85.0f},
        {L"Contr.", contrast, static_cast<float>(contrast) / 100.0f},
    }};
}

int32_t waterfallSliderTrack(int32_t height) { return std::max(boundedPixel(height) - 228, 20); }

int32_t knobOffset(float fraction, int32_t length) {
    return static_cast<int32_t>(fraction * static_cast<float>(boundedPixel(length)));
}

}  // namespace app
