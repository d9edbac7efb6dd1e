#include "app/rules/waterfall_shift.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// 480 columns over 480 kHz: one column is 1000 Hz.
constexpr int32_t columns = 480;
constexpr int32_t span = 480000;

TEST(WaterfallShift, CountsColumnsToTheNearest) {
    const uint32_t c = 7000000;
    EXPECT_EQ(app::waterfallShift(c, c + 1000, columns, span), 1);
    EXPECT_EQ(app::waterfallShift(c, c - 1000, columns, span), -1);
    EXPECT_EQ(app::waterfallShift(c, c + 500, columns, span), 1);
    EXPECT_EQ(app::waterfallShift(c, c - 500, columns, span), -1);
    EXPECT_EQ(app::waterfallShift(c, c + 499, columns, span), 0);
    EXPECT_EQ(app::waterfallShift(c, c - 240000, columns, span), -240);
}

TEST(WaterfallShift, NothingMovesWithoutAnEarlierCentreOrAGrid) {
    EXPECT_EQ(app::waterfallShift(0, 7000000, columns, span), 0);
    EXPECT_EQ(app::waterfallShift(7000000, 7100000, 0, span), 0);
}

class ShiftedWaterfall : public testing::Test {
protected:
    // Two rows of four columns.
    const std::vector<float> grid{1, 2, 3, 4, 5, 6, 7, 8};
};

TEST_F(ShiftedWaterfall, HigherCentreMovesEveryRowLeft) {
    EXPECT_EQ(app::shiftedWaterfall(grid, 4, 1), (std::vector<float>{2, 3, 4, -150, 6, 7, 8, -150}));
}

TEST_F(ShiftedWaterfall, LowerCentreMovesEveryRowRight) {
    EXPECT_EQ(app::shiftedWaterfall(grid, 4, -2),
              (std::vector<float>{-150, -150, 1, 2, -150, -150, 5, 6}));
}

TEST_F(ShiftedWaterfall, AShiftBeyondTheWidthLeavesNothingSeen) {
    EXPECT_EQ(app::shiftedWaterfall(grid, 4, 4), std::vector<float>(8, -150));
    EXPECT_EQ(app::shiftedWaterfall(grid, 4, -9), std::vector<float>(8, -150));
}

TEST_F(ShiftedWaterfall, ARowCutShortIsNeverReadBeyondTheGrid) {
    const std::vector<float> ragged{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(app::shiftedWaterfall(ragged, 4, 1), (std::vector<float>{2, 3, 4, -150, 6, -150}));
}

}  // namespace
