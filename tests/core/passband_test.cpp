#include "hf/passband.h"

#include <gtest/gtest.h>

namespace {

struct PassbandCase {
    int32_t mode;
    int32_t bandwidth;
    int32_t lo;
    int32_t hi;
};

class Passbands : public testing::TestWithParam<PassbandCase> {};

TEST_P(Passbands, EdgesRelativeToTheListenFrequency) {
    const auto c = GetParam();
    const hf::Passband band = hf::passband(c.mode, c.bandwidth);
    EXPECT_EQ(band.lo, c.lo);
    EXPECT_EQ(band.hi, c.hi);
}

// The symmetric modes halve the width in integers, so an odd width loses 1 Hz.
INSTANTIATE_TEST_SUITE_P(Modes, Passbands,
                         testing::Values(PassbandCase{2, 2700, 150, 2850}, PassbandCase{3, 2700, -2850, -150},
                                         PassbandCase{0, 9000, -4500, 4500}, PassbandCase{1, 12001, -6000, 6000},
                                         PassbandCase{4, 501, -250, 250}, PassbandCase{7, 500, -250, 250}));

}  // namespace
