#include "platform/playback.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::array<float, hf::audioBlockSize> constantBlock(float value) {
    std::array<float, hf::audioBlockSize> block;
    block.fill(value);
    return block;
}

TEST(PlaybackGain, TargetFollowsTheFlagsAndHoldsVolumeToUnitRange) {
    struct Case {
        bool muted, paused, squelchOpen;
        float volume, gain;
    };
    const Case cases[] = {
        {false, false, true, 0.5f, 0.5f},  {false, false, true, 1.7f, 1.0f}, {false, false, true, -0.2f, 0.0f},
        {true, false, true, 1.0f, 0.0f},   {false, true, true, 1.0f, 0.0f},  {false, false, false, 1.0f, 0.0f},
        {false, false, true, 0.0f, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(targetGain(c.muted, c.paused, c.squelchOpen, c.volume), c.gain)
            << c.muted << c.paused << c.squelchOpen << " volume " << c.volume;
}

TEST(PlaybackRamp, RisesLinearlyToFullGainIn480Samples) {
    PcmBlock pcm;
    EXPECT_EQ(rampBlock(constantBlock(1.0f), 0.0f, 1.0f, pcm), 1.0f);
    // The gain moves before the first sample is scaled, so sample k plays at
    // (k + 1) / 480, give or take the rounding of the summed steps.
    for (int k = 0; k < 480; ++k) ASSERT_NEAR(pcm[k], (k + 1) * 32767.0 / 480.0, 2.0) << k;
    for (std::size_t k = 479; k < pcm.size(); ++k) ASSERT_EQ(pcm[k], 32767) << k;
}

TEST(PlaybackRamp, FadesAndSettlesOnTheTargetWithoutOvershoot) {
    struct Case {
        float from, to;
        int samples;  // samples until the target is reached
    };
    const Case cases[] = {{1.0f, 0.0f, 480}, {0.5f, 1.0f, 240}, {0.0f, 0.5f, 240}, {0.8f, 0.8f, 0}};
    for (const Case& c : cases) {
        PcmBlock pcm;
        EXPECT_EQ(rampBlock(constantBlock(1.0f), c.from, c.to, pcm), c.to) << c.from << " to " << c.to;
        const auto settled = static_cast<int16_t>(c.to * 32767.0f);
        for (int k = 0; k < c.samples - 1; ++k) ASSERT_NE(pcm[k], settled) << c.from << " to " << c.to << " at " << k;
        for (std::size_t k = std::max(c.samples - 1, 0); k < pcm.size(); ++k)
            ASSERT_EQ(pcm[k], settled) << c.from << " to " << c.to << " at " << k;
    }
}

TEST(PlaybackRamp, ConvertsToSymmetric16Bit) {
    auto block = constantBlock(0.0f);
    block[0] = 1.5f;
    block[1] = -1.0f;
    block[2] = 0.99999f;
    block[3] = -1.5f;
    block[4] = 0.5f;
    block[5] = -0.5f;
    PcmBlock pcm;
    rampBlock(block, 1.0f, 1.0f, pcm);
    EXPECT_EQ(pcm[0], 32767);
    EXPECT_EQ(pcm[1], -32767);
    EXPECT_EQ(pcm[2], 32766);
    EXPECT_EQ(pcm[3], -32767);
    EXPECT_EQ(pcm[4], 16383);
    EXPECT_EQ(pcm[5], -16383);
}

TEST(PlaybackQueue, DecidesUnderrunFillAndStart) {
    // queued: buffers the device still holds
    for (int queued = 0; queued <= playbackBuffers; ++queued) {
        SCOPED_TRACE(queued);
        EXPECT_EQ(underrunFound(true, queued), queued == 0);
        EXPECT_FALSE(underrunFound(false, queued));  // a paused device cannot run dry
        EXPECT_EQ(fillWanted(false, queued), queued <= 5);
        EXPECT_EQ(startWanted(false, queued), queued >= 5);  // four alone make no sound
        EXPECT_FALSE(startWanted(true, queued));
    }
    EXPECT_TRUE(fillWanted(true, 0));
}

}  // namespace
