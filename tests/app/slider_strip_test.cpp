#include "app/rules/slider_strip.h"

#include <gtest/gtest.h>

namespace {

TEST(SliderValueStrip, LiesRightOfTheSliderBelowTheCaptionBand) {
    EXPECT_EQ(app::sliderValueStrip({100, 200, 150, 30}, 1.0f), (app::PixelRect{250, 228, 315, 258}));
}

TEST(SliderValueStrip, ScalesEachEdgeToTheNearestPixel) {
    EXPECT_EQ(app::sliderValueStrip({100, 200, 150, 30}, 1.25f), (app::PixelRect{313, 285, 394, 323}));
    EXPECT_EQ(app::sliderValueStrip({0, -28, 10, 1}, 1.5f), (app::PixelRect{15, 0, 113, 2}));
}

}  // namespace
