#include "hf/records.h"

#include <gtest/gtest.h>

namespace {

TEST(Records, DefaultSettingsAreTheFormDefaults) {
    const hf::Settings s;
    EXPECT_EQ(s.Frequency, 7023000u);
    EXPECT_EQ(s.center, 0u);
    EXPECT_EQ(s.Mode, 4);
    EXPECT_EQ(s.Bandwidth, 500);
    EXPECT_EQ(s.Step, 100);
    EXPECT_EQ(s.PPM, -4);
    EXPECT_EQ(s.Gain, 280);
    EXPECT_EQ(s.Tone, 700);
    EXPECT_EQ(s.WPM, 18);
    EXPECT_TRUE(s.AutoSpeed);
    EXPECT_FALSE(s.RFAuto);
    EXPECT_TRUE(s.Decode);
    EXPECT_TRUE(s.AutoThreshold);
    EXPECT_FLOAT_EQ(s.Threshold, -45.0f);
}

TEST(Records, DongleIdentityIgnoresIndexButNotCase) {
    const hf::Device a{0, "RTLSDRBlog", "Blog V4", "00000001"};
    const hf::Device b{3, "RTLSDRBlog", "Blog V4", "00000001"};
    const hf::Device c{0, "RTLSDRBlog", "Blog V4", "0000000a"};
    const hf::Device d{0, "RTLSDRBlog", "Blog V4", "0000000A"};
    EXPECT_TRUE(hf::sameDongle(a, b));
    EXPECT_FALSE(hf::sameDongle(a, c));
    EXPECT_FALSE(hf::sameDongle(c, d));
}

TEST(Records, DefaultFrameIsEmpty) {
    const hf::Frame f;
    EXPECT_EQ(f.generation, 0);
    EXPECT_TRUE(f.narrowSpectrum.empty());
    EXPECT_TRUE(f.wideSpectrum.empty());
    EXPECT_FLOAT_EQ(f.level, -120.0f);
    EXPECT_DOUBLE_EQ(f.wpm, 18.0);
    EXPECT_FALSE(f.centred);
    EXPECT_TRUE(f.cwText.empty());
}

}  // namespace
