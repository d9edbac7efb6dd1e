#pragma once
// Keeping the waterfall history aligned with frequency when the hardware
// centre moves.

#include <cstdint>
#include <vector>

namespace app {

// Columns by which the history moves when the centre goes from `from` to `to`
// on a view `span` Hz wide drawn in `columns` columns (nearest, halves away
// from zero); 0 when there was no centre before.
int64_t waterfallShift(uint32_t from, uint32_t to, int32_t columns, int32_t span);

// The row-major history `grid` of rows `columns` wide, each row moved so that
// column x shows what column x + shift showed; columns that come into view
// read -150 dB.
std::vector<float> shiftedWaterfall(const std::vector<float>& grid, int32_t columns, int64_t shift);

}  // namespace app
