#include "app/rules/construction_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
    int32_t value;
    int expected;
};

TEST(ConstructionRules, GainShowsTheNearestItemAndTheLowerOfTwoAsNear) {
    const Case cases[] = {{280, 3}, {150, 1}, {600, 6}, {0, 0}, {-100, 0},
                          {465, 5}, {466, 6}, {320, 3}, {321, 4}, {489, 6}};
    for (const Case& c : cases) EXPECT_EQ(app::gainSelection(c.value), c.expected) << c.value;
}

TEST(ConstructionRules, ThresholdItemFromWholeDecibels) {
    EXPECT_EQ(app::thresholdSelection(true, -45.0f), 0);
    EXPECT_EQ(app::thresholdSelection(true, -60.0f), 0);
    const struct {
        float threshold;
        int expected;
    } cases[] = {{-45.0f, 2}, {-60.0f, 1}, {-61.0f, 1}, {-51.0f, 1}, {-50.0f, 2}, {-21.0f, 4},
                 {-20.0f, 4}, {-35.0f, 3}, {-30.0f, 4}, {-60.9f, 1}, {-50.9f, 2}, {0.0f, 4},
                 {-200.0f, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(app::thresholdSelection(false, c.threshold), c.expected) << c.threshold;
}

TEST(ConstructionRules, OnlyTheThreeNarrowSpansHaveTheirOwnItem) {
    const Case cases[] = {{12000, 0}, {48000, 1}, {96000, 2}, {480000, 3},
                          {24000, 3}, {0, 3},     {-12000, 3}};
    for (const Case& c : cases) EXPECT_EQ(app::spanSelection(c.value), c.expected) << c.value;
}

TEST(ConstructionRules, SquelchSliderSpansTheSliderRange) {
    const Case cases[] = {{55, 50}, {110, 100}, {1, 1}, {0, 0}, {11, 10}, {109, 99}};
    for (const Case& c : cases) EXPECT_EQ(app::squelchPosition(c.value), c.expected) << c.value;
}

TEST(ConstructionRules, AudioOutputIsTheLastExactNameMatch) {
    const std::vector<std::wstring> outputs{L"Haut-parleurs", L"Casque", L"Haut-parleurs",
                                            app::unavailableOutputItem};
    EXPECT_EQ(app::audioOutputSelection(outputs, L"Haut-parleurs"), 3);
    EXPECT_EQ(app::audioOutputSelection(outputs, L"Casque"), 2);
    EXPECT_EQ(app::audioOutputSelection(outputs, app::unavailableOutputItem), 4);
    EXPECT_EQ(app::audioOutputSelection(outputs, L"Haut-parleur"), 0);
    EXPECT_EQ(app::audioOutputSelection(outputs, L"casque"), 0);
    EXPECT_EQ(app::audioOutputSelection(outputs, L""), 0);
    // The default output is not one of the named devices.
    EXPECT_EQ(app::audioOutputSelection(outputs, app::defaultOutputItem), 0);
    EXPECT_EQ(app::audioOutputSelection({}, L"Casque"), 0);
}

TEST(ConstructionRules, ScaleFollowsTheDpiWithinTheWorkArea) {
    EXPECT_FLOAT_EQ(app::uiScale(144, 1920, 1040), 1040.0f / 700.0f);
    EXPECT_FLOAT_EQ(app::uiScale(144, 2560, 1400), 1.5f);
    EXPECT_FLOAT_EQ(app::uiScale(96, 1920, 1040), 1.0f);
    EXPECT_FLOAT_EQ(app::uiScale(192, 1530, 2000), 1.5f);  // the width limits
    EXPECT_FLOAT_EQ(app::uiScale(std::nullopt, 1366, 600), 600.0f / 700.0f);
    EXPECT_FLOAT_EQ(app::uiScale(std::nullopt, 1920, 1040), 1.0f);
    // An unknown DPI or work area leaves the other limits.
    EXPECT_FLOAT_EQ(app::uiScale(0, 1920, 1040), 1.0f);
    EXPECT_FLOAT_EQ(app::uiScale(144, 0, 0), 1.5f);
}

TEST(ConstructionRules, FontsAndItemsScaleRoundingHalvesAway) {
    EXPECT_EQ(app::fontSizes(app::uiScale(144, 1920, 1040)), (app::FontSizes{-24, -45, -31, 34}));
    EXPECT_EQ(app::fontSizes(1.0f), (app::FontSizes{-16, -30, -21, 23}));
    EXPECT_EQ(app::fontSizes(1.5f), (app::FontSizes{-24, -45, -32, 35}));  // 31.5 and 34.5 go up
    EXPECT_EQ(app::scaled(330, 1.25f), 413);
}

TEST(ConstructionRules, LogicalClientSizeTruncatesBeforeTheCaptionBand) {
    EXPECT_EQ(app::logicalClientSize(1320, 740, 1.0f), (app::LogicalSize{1320, 712}));
    EXPECT_EQ(app::logicalClientSize(1980, 1110, 1.5f), (app::LogicalSize{1320, 712}));
    EXPECT_EQ(app::logicalClientSize(1981, 1111, 1.5f), (app::LogicalSize{1320, 712}));
    EXPECT_EQ(app::logicalClientSize(1000, 1000, 1040.0f / 700.0f), (app::LogicalSize{673, 645}));
}

TEST(ConstructionRules, WindowBoxesSitBelowTheCaptionBandAndListCombosReachDown) {
    const hf::Box gainBox{118, 184, 94, 26};
    EXPECT_EQ(app::windowBox(108, gainBox, 1.0f), (hf::Box{118, 212, 94, 186}));
    EXPECT_EQ(app::windowBox(108, gainBox, 1.5f), (hf::Box{177, 318, 141, 279}));
    const hf::Box widthBox{128, 289, 84, 25};
    EXPECT_EQ(app::windowBox(107, widthBox, 1.5f), (hf::Box{192, 476, 126, 38}));
    for (int id : {108, 113, 115, 117, 121, 133}) EXPECT_TRUE(app::opensListBelow(id)) << id;
    for (int id : {105, 106, 125, 130, 101, 119, 127}) EXPECT_FALSE(app::opensListBelow(id)) << id;
    // A box inside the caption band (negative y) still lands in the window.
    EXPECT_EQ(app::plotWindowBox({460, -24, 275, 24}, 1.0f), (hf::Box{460, 4, 275, 24}));
    EXPECT_EQ(app::plotWindowBox({230, 177, 1082, 361}, 1.5f), (hf::Box{345, 308, 1623, 542}));
}

TEST(ConstructionRules, VisibleScanRangesAreTheScanRangesWithoutFavourites) {
    std::vector<std::wstring> expected(app::scanRangeItems.begin(), app::scanRangeItems.end());
    expected.erase(expected.begin() + 4);
    const std::vector<std::wstring> visible(app::visibleScanRangeItems.begin(),
                                            app::visibleScanRangeItems.end());
    EXPECT_EQ(visible, expected);
    EXPECT_EQ(std::wstring(app::scanRangeItems[app::customRangeItem]), L"Plage personnalisée");
}

TEST(ConstructionRules, StartButtonCaptionFollowsTheReceptionState) {
    EXPECT_EQ(std::wstring(app::listenCaption(false, false)), L"▶ DÉMARRER");
    EXPECT_EQ(std::wstring(app::listenCaption(false, true)), L"▶ DÉMARRER");
    EXPECT_EQ(std::wstring(app::listenCaption(true, false)), L"● EN ÉCOUTE");
    EXPECT_EQ(std::wstring(app::listenCaption(true, true)), L"EN PAUSE");
}

}  // namespace
