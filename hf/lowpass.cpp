#include "hf/lowpass.h"

#include <cmath>
#include <numbers>

namespace hf {

std::vector<float> lowPassTaps(int count, double cutoffHz, double rateHz) {
    constexpr double pi = std::numbers::pi;
    const int span = count - 1;
    const int half = span / 2;
    std::vector<float> taps(static_cast<std::size_t>(count));
    double sum = 0.0;
    for (int k = 0; k < count; ++k) {
        const int i = k - half;
        const double w = 0.42 - 0.5 * std::cos(2.0 * pi * k / span) + 0.08 * std::cos(4.0 * pi * k / span);
        const double h = i == 0 ? w * 2.0 * cutoffHz / rateHz
                                : w * std::sin(2.0 * pi * cutoffHz * i / rateHz) / (pi * i);
        taps[static_cast<std::size_t>(k)] = static_cast<float>(h);
        sum += h;
    }
    const auto s = static_cast<float>(sum);
    for (float& t : taps) t /= s;
    return taps;
}

}  // namespace hf
