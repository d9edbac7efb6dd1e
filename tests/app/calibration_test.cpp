#include "app/rules/calibration.h"

#include <gtest/gtest.h>

namespace {

const hf::Device v4{0, "RTLSDRBlog", "Blog V4", "00000001"};
const hf::Device v4NoSerial{0, "RTLSDRBlog", "Blog V4", ""};
const hf::Device generic{0, "Realtek", "RTL2838UHIDIR", "00000001"};

TEST(Calibration, SectionNameIsTheHashOfTheIdentity) {
    EXPECT_EQ(app::calibrationKey(v4), "Device_11641857158368337823");
    EXPECT_EQ(app::calibrationKey({7, "RTLSDRBlog", "Blog V4", "00000002"}),
              "Device_11641858257879966034");
    EXPECT_EQ(app::calibrationKey({}), "Device_17888049298930695079");
    EXPECT_EQ(app::calibrationKey({0, "Nooelec", "NESDR SMArt v5", "é"}),
              "Device_157778490789063498");
}

TEST(Calibration, TheEnumerationIndexTakesNoPart) {
    hf::Device moved = v4;
    moved.index = 3;
    EXPECT_EQ(app::calibrationKey(moved), app::calibrationKey(v4));
}

TEST(Calibration, OnlyADongleWithASerialKeepsItsCorrection) {
    EXPECT_TRUE(app::keepsCalibration(v4));
    EXPECT_FALSE(app::keepsCalibration(v4NoSerial));
}

TEST(Calibration, StoredCorrectionDefaultsByModelAndIsClamped) {
    EXPECT_EQ(app::storedCorrection({}, v4), -4);
    EXPECT_EQ(app::storedCorrection({}, v4NoSerial), 0);
    EXPECT_EQ(app::storedCorrection({}, generic), 0);
    EXPECT_EQ(app::storedCorrection({{"PPM", "-7"}}, v4), -7);
    EXPECT_EQ(app::storedCorrection({{"PPM", "150"}}, generic), 100);
    EXPECT_EQ(app::storedCorrection({{"ppm", "-101"}}, generic), -100);
}

}  // namespace
