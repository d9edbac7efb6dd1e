#include "app/rules/plot_bins.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace app {

namespace {

constexpr double narrowWidth = 48000.0;
constexpr double wideWidth = 960000.0;
constexpr double narrowReach = 15000.0;   // of the tuned frequency, where the narrow spectrum serves
constexpr double wideReach = 450000.0;    // of the published centre, what is shown of the band

bool narrowView(const SpectrumView& view, const hf::Frame& frame, double fromTuned) {
    return view.span <= 24000 && frame.centred && std::abs(fromTuned) < narrowReach;
}

// The bin a position (in bins, from the spectrum's low end) falls in, kept
// inside the spectrum.
size_t binAt(double position, size_t count) {
    const double bin = std::clamp(std::trunc(position), 0.0, static_cast<double>(count - 1));
    return static_cast<size_t>(bin);
}

float largestBin(const std::vector<float>& bins, double first, double last) {
    const size_t from = binAt(first, bins.size());
    const size_t to = std::max(from, binAt(last, bins.size()));
    return *std::max_element(bins.begin() + static_cast<std::ptrdiff_t>(from),
                             bins.begin() + static_cast<std::ptrdiff_t>(to) + 1);
}

}  // namespace

float displayValue(const hf::Frame& frame, int x, int width, const SpectrumView& view,
                   bool useForm) {
    const double w = std::max(width, 1);
    const double span = view.span;
    const double offset = (x / w - 0.5) * span;
    const double centre = useForm ? view.formCentre : view.publishedCentre;

    const double fromTuned = centre + offset - view.frequency;
    const std::vector<float>& narrow = frame.narrowSpectrum;
    if (!narrow.empty() && narrowView(view, frame, fromTuned)) {
        const double n = static_cast<double>(narrow.size());
        return largestBin(narrow, (fromTuned / narrowWidth + 0.5) * n,
                          ((fromTuned + span / w) / narrowWidth + 0.5) * n);
    }

    const std::vector<float>& wide = frame.wideSpectrum;
    if (wide.empty()) return -120.0f;
    const double lead =
        useForm ? static_cast<double>(view.formCentre) - static_cast<double>(view.publishedCentre) : 0.0;
    if (std::abs(offset + lead) > wideReach) return -150.0f;
    const double n = static_cast<double>(wide.size());
    const auto position = [&](double column) {
        return (((column / w - 0.5) * span + lead) / wideWidth + 0.5) * n;
    };
    return largestBin(wide, position(x), position(x + 1.0));
}

float waterfallValue(const hf::Frame& frame, int x, int width, const SpectrumView& view) {
    const double w = std::max(width, 1);
    const double offset = (x / w - 0.5) * view.span;
    const double fromTuned = view.publishedCentre + offset - view.frequency;
    const bool narrow = narrowView(view, frame, fromTuned);
    const std::vector<float>& bins = narrow ? frame.narrowSpectrum : frame.wideSpectrum;
    if (bins.empty()) return -150.0f;
    const double position = narrow ? fromTuned : offset;
    const double scale = narrow ? narrowWidth : wideWidth;
    const double n = static_cast<double>(bins.size());

    if (view.span * n / (w * scale) >= 1.0) return displayValue(frame, x, width, view, false);

    const double q = (position / scale + 0.5) * n;
    if (q < 0.0) return bins.front();
    if (q > n - 1.0) return bins.back();
    const size_t i = static_cast<size_t>(q);
    const float f = static_cast<float>(q - static_cast<double>(i));
    return (1.0f - f) * bins[i] + f * bins[std::min(i + 1, bins.size() - 1)];
}

}  // namespace app
