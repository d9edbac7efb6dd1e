#include "hf/waterfall_colours.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <limits>
#include <string>

namespace {

struct ColourCase {
    std::string name;
    float level;
    int light, range, contrast;
    uint32_t colour;
};

class WaterfallMapped : public testing::TestWithParam<ColourCase> {};

TEST_P(WaterfallMapped, Colour) {
    const auto& c = GetParam();
    EXPECT_EQ(hf::waterfallMapped(c.level, c.light, c.range, c.contrast), c.colour)
        << std::hex << "got 0x" << hf::waterfallMapped(c.level, c.light, c.range, c.contrast);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, WaterfallMapped,
    testing::Values(ColourCase{"AtFloor", -90.0f, 50, 65, 50, 0x000108},
                    ColourCase{"BelowFloor", -150.0f, 0, 15, 50, 0x000108},
                    ColourCase{"AtTop", -25.0f, 50, 65, 50, 0xFFFFFF},
                    ColourCase{"JustAboveTop", -24.9f, 50, 65, 50, 0xFFFFFF},
                    ColourCase{"AboveTop", 0.0f, 50, 65, 50, 0xFFFFFF},
                    ColourCase{"MidwayLinear", -57.5f, 50, 65, 50, 0x92E487},
                    ColourCase{"MidwayContrast100", -57.5f, 50, 65, 100, 0x00143F},
                    ColourCase{"MidwayContrast0", -57.5f, 50, 65, 0, 0xFF8D11},
                    ColourCase{"ThirdOfRange", -70.0f, 50, 65, 50, 0x053461},
                    ColourCase{"TwoThirdsOfRange", -120.0f, 0, 15, 50, 0xFFAF1A},
                    ColourCase{"FloorAtLight100", -50.0f, 100, 15, 50, 0x000108}),
    [](const auto& info) { return info.param.name; });

// Floor -90 dB, range 70 dB: every 10 dB lands exactly on the next palette colour.
class WaterfallPalette : public testing::TestWithParam<std::pair<int, uint32_t>> {};

TEST_P(WaterfallPalette, ColourAtItsStep) {
    const auto [index, colour] = GetParam();
    EXPECT_EQ(hf::waterfallMapped(-90.0f + 10.0f * float(index), 50, 70, 50), colour);
}

INSTANTIATE_TEST_SUITE_P(Steps, WaterfallPalette,
                         testing::Values(std::pair{0, 0x000108u}, std::pair{1, 0x00051Cu},
                                         std::pair{2, 0x00194Bu}, std::pair{3, 0x26CADFu},
                                         std::pair{4, 0xFFFF30u}, std::pair{5, 0xFF8810u},
                                         std::pair{6, 0xEE2525u}, std::pair{7, 0xFFFFFFu}));

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

// Outside what the plot passes: each still has one defined colour.
INSTANTIATE_TEST_SUITE_P(
    OutOfRangeInputs, WaterfallMapped,
    testing::Values(ColourCase{"NaNLevel", nan, 50, 65, 50, 0x000108},
                    ColourCase{"NaNLevelSteepContrast", nan, 50, 65, 100, 0x000108},
                    ColourCase{"ZeroRangeAtFloor", -90.0f, 50, 0, 50, 0x000108},
                    ColourCase{"ZeroRangeAboveFloor", -89.0f, 50, 0, 50, 0xFFFFFF},
                    ColourCase{"ZeroRangeBelowFloor", -91.0f, 50, 0, 50, 0x000108},
                    ColourCase{"NegativeRangeAboveFloor", -57.5f, 50, -65, 50, 0x000108},
                    ColourCase{"NegativeRangeBelowFloor", -200.0f, 50, -65, 50, 0xFFFFFF},
                    ColourCase{"InfiniteLevel", inf, 50, 65, 50, 0xFFFFFF},
                    ColourCase{"MinusInfiniteLevel", -inf, 50, 65, 50, 0x000108},
                    ColourCase{"HugeLevel", 3e38f, 0, 15, 50, 0xFFFFFF},
                    ColourCase{"HugeContrast", -57.5f, 50, 65, INT_MAX, 0x000108},
                    ColourCase{"HugeNegativeContrast", -57.5f, 50, 65, INT_MIN, 0xFFFFFF}),
    [](const auto& info) { return info.param.name; });

}  // namespace
