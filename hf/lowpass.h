#pragma once
// Blackman-windowed sinc low-pass design shared by the receive chain's filters.

#include <vector>

namespace hf {

// count taps (odd) passing 0 … cutoffHz at rateHz, designed in double
// precision, stored as float and divided by the float sum of the double values
// so that 0 Hz passes with gain 1.
std::vector<float> lowPassTaps(int count, double cutoffHz, double rateHz);

}  // namespace hf
