#include "app/rules/waterfall_shift.h"

#include <algorithm>
#include <cmath>

#include "app/rules/value_bounds.h"

namespace app {

namespace {

constexpr float unseenDb = -150.0f;

}  // namespace

int64_t waterfallShift(uint32_t from, uint32_t to, int32_t columns, int32_t span) {
    if (from == 0 || columns <= 0 || span <= 0) return 0;
    const double moved = static_cast<double>(static_cast<int64_t>(to) - static_cast<int64_t>(from));
    return std::llround(moved * boundedPixel(columns) / span);
}

std::vector<float> shiftedWaterfall(const std::vector<float>& grid, int32_t columns, int64_t shift) {
    if (columns <= 0) return grid;
    // Any shift of a whole row or more brings every column into view.
    shift = std::clamp<int64_t>(shift, -columns, columns);
    std::vector<float> shifted(grid.size(), unseenDb);
    const int64_t size = static_cast<int64_t>(grid.size());
    for (int64_t i = 0; i < size; ++i) {
        const int64_t source = (i % columns) + shift;
        if (source < 0 || source >= columns) continue;
        const int64_t from = i - i % columns + source;
        if (from < size) shifted[i] = grid[from];
    }
    return shifted;
}

}  // namespace app
