#include "hf/audio_blocks.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::vector<float> blockOf(float value) { return std::vector<float>(hf::audioBlockSize, value); }

struct OverflowCase {
    int pushed;
    float firstKept;
    uint32_t dropped;
};

class AudioBlocksOverflow : public testing::TestWithParam<OverflowCase> {};

TEST_P(AudioBlocksOverflow, KeepsTheNewestTwentyFour) {
    const auto c = GetParam();
    hf::AudioBlocks q;
    for (int i = 1; i <= c.pushed; ++i) q.push(blockOf(float(i)));
    ASSERT_EQ(q.blocks.size(), std::min<std::size_t>(c.pushed, 24));
    EXPECT_EQ(q.blocks.front()[0], c.firstKept);
    EXPECT_EQ(q.blocks.back()[2047], float(c.pushed));
    EXPECT_EQ(q.dropped, c.dropped);
}

INSTANTIATE_TEST_SUITE_P(Pushes, AudioBlocksOverflow,
                         testing::Values(OverflowCase{1, 1, 0}, OverflowCase{24, 1, 0},
                                         OverflowCase{25, 2, 1}, OverflowCase{30, 7, 6}));

TEST(AudioBlocks, WrongSizeIsRefusedAndChangesNothing) {
    hf::AudioBlocks q;
    q.push(blockOf(1));
    for (std::size_t n : {std::size_t(0), std::size_t(2047), std::size_t(2049)}) {
        try {
            q.push(std::vector<float>(n, 5.0f));
            FAIL() << "accepted a block of " << n;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Taille audio incorrecte");
        }
    }
    EXPECT_EQ(q.blocks.size(), 1u);
    EXPECT_EQ(q.dropped, 0u);
}

TEST(AudioBlocks, ConsumingMakesRoomWithoutDropping) {
    hf::AudioBlocks q;
    for (int i = 0; i < 24; ++i) q.push(blockOf(float(i)));
    q.blocks.pop_front();
    q.push(blockOf(99));
    EXPECT_EQ(q.dropped, 0u);
    EXPECT_EQ(q.blocks.size(), 24u);
    EXPECT_EQ(q.blocks.front()[0], 1.0f);
}

}  // namespace
