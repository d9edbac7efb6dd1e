#include "app/rules/command_rules.h"
#include "app/rules/construction_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CommandRules, ModeDefaults) {
    struct Case {
        int32_t mode, bandwidth, step;
    };
    for (const Case c : {Case{0, 9000, 10000}, Case{1, 12000, 10000}, Case{2, 2700, 100},
                         Case{3, 2700, 100}, Case{4, 500, 10}, Case{-1, 2700, 100},
                         Case{7, 2700, 100}}) {
        const app::ModeDefaults d = app::modeDefaults(c.mode);
        EXPECT_EQ(d.bandwidth, c.bandwidth) << "mode " << c.mode;
        EXPECT_EQ(d.step, c.step) << "mode " << c.mode;
    }
}

TEST(CommandRules, FilterPresetsExistOnlyInCwAndSideband) {
    EXPECT_EQ(app::presetBandwidth(4, 0), 300);
    EXPECT_EQ(app::presetBandwidth(4, 1), 500);
    EXPECT_EQ(app::presetBandwidth(4, 2), 800);
    for (int32_t mode : {2, 3}) {
        EXPECT_EQ(app::presetBandwidth(mode, 0), 2100);
        EXPECT_EQ(app::presetBandwidth(mode, 1), 2700);
        EXPECT_EQ(app::presetBandwidth(mode, 2), 3000);
    }
    for (int32_t mode : {0, 1})
        for (int preset : {0, 1, 2}) EXPECT_FALSE(app::presetBandwidth(mode, preset));
}

TEST(CommandRules, ManualStepStaysWithinTheReceivableRange) {
    EXPECT_EQ(app::steppedFrequency(51999000, 10000, +1), 52000000u);
    EXPECT_EQ(app::steppedFrequency(505000, 10000, -1), 500000u);
    EXPECT_EQ(app::steppedFrequency(7023000, 100, +1), 7023100u);
    EXPECT_EQ(app::steppedFrequency(7023000, 100, -1), 7022900u);
    EXPECT_EQ(app::steppedFrequency(500000, 10000, -1), 500000u);  // no wrap below zero
}

TEST(CommandRules, SpanItemsBothWays) {
    EXPECT_EQ(app::spanOfItem(0), 12000);
    EXPECT_EQ(app::spanOfItem(1), 48000);
    EXPECT_EQ(app::spanOfItem(2), 96000);
    EXPECT_EQ(app::spanOfItem(3), 480000);
    EXPECT_EQ(app::spanOfItem(-1), 480000);
    for (int item = 0; item < 4; ++item) EXPECT_EQ(app::spanSelection(app::spanOfItem(item)), item);
    EXPECT_EQ(app::spanSelection(200000), 3);
}

TEST(CommandRules, ButtonRowsSelectInTheirHiddenCombo) {
    struct Case {
        int id, currentRange, combo, item;
    };
    for (const Case c : {
             Case{300, 1, 105, 0}, Case{304, 1, 105, 4}, Case{320, 1, 106, 0},
             Case{326, 1, 106, 6}, Case{340, 1, 125, 0}, Case{343, 1, 125, 3},
             Case{360, 0, 130, 3},
             Case{361, 0, 130, 1}, Case{361, 2, 130, 2},  // "CW" keeps "HF dès 3 MHz"
             Case{362, 8, 130, 8}, Case{362, 6, 130, 6},  // "CB" keeps a CB sub-band
             Case{362, 5, 130, 0}, Case{362, 4, 130, 0},  // ... but not 6 m or "Favoris"
             Case{363, 1, 130, 4},
         }) {
        const auto choice = app::rowChoice(c.id, c.currentRange);
        ASSERT_TRUE(choice) << c.id;
        EXPECT_EQ(choice->combo, c.combo) << c.id;
        EXPECT_EQ(choice->item, c.item) << c.id << " from " << c.currentRange;
    }
    for (int id : {299, 305, 327, 344, 364, 380, 400}) EXPECT_FALSE(app::rowChoice(id, 1)) << id;
}

TEST(CommandRules, DwellButtons) {
    EXPECT_EQ(app::dwellOfButton(380), 1000);
    EXPECT_EQ(app::dwellOfButton(381), 2000);
    EXPECT_EQ(app::dwellOfButton(382), 3000);
    EXPECT_EQ(app::dwellOfButton(383), 5000);
    EXPECT_FALSE(app::dwellOfButton(384));
    EXPECT_FALSE(app::dwellOfButton(379));
}

TEST(CommandRules, RangeMirrorAndLimitTexts) {
    struct Case {
        int range, mirror;
        const wchar_t* start;  // nullptr: the fields stay as they are
        const wchar_t* end;
    };
    for (const Case c : {
             Case{0, 0, L"26.515", L"27.855"}, Case{1, 1, L"7.000", L"7.060"},
             Case{2, 2, L"3.000", L"3.800"}, Case{3, 3, nullptr, nullptr},
             Case{4, -1, nullptr, nullptr}, Case{5, 4, L"50.000", L"52.000"},
             Case{6, 5, L"26.515", L"26.955"}, Case{7, 6, L"26.965", L"27.405"},
             Case{8, 7, L"27.415", L"27.855"},
         }) {
        EXPECT_EQ(app::mirrorItem(c.range), c.mirror) << c.range;
        if (c.mirror >= 0) {
            EXPECT_EQ(app::rangeOfMirrorItem(c.mirror), c.range) << c.range;
        }
        const auto texts = app::rangeTexts(c.range);
        ASSERT_EQ(texts.has_value(), c.start != nullptr) << c.range;
        if (texts) {
            EXPECT_EQ(std::wstring(texts->start), c.start);
            EXPECT_EQ(std::wstring(texts->end), c.end);
        }
    }
}

TEST(CommandRules, FavouriteAddStopsAtThirtyFour) {
    EXPECT_TRUE(app::mayAddFavorite(4));
    EXPECT_TRUE(app::mayAddFavorite(33));
    EXPECT_FALSE(app::mayAddFavorite(34));
}

TEST(CommandRules, RecalledFavouriteBringsOnlyItsFourFields) {
    hf::Settings current;
    current.center = 7100000;
    current.PPM = 12;
    current.Gain = 440;
    current.Tone = 900;
    current.Decode = false;
    hf::Settings favorite;
    favorite.Frequency = 27185000;
    favorite.Mode = 0;
    favorite.Bandwidth = 9000;
    favorite.Step = 10000;
    favorite.PPM = -4;
    favorite.Decode = true;

    hf::Settings expected = current;
    expected.Frequency = 27185000;
    expected.Mode = 0;
    expected.Bandwidth = 9000;
    expected.Step = 10000;
    EXPECT_EQ(app::recalledFavorite(current, favorite), expected);
}

TEST(CommandRules, DongleInUseIsFoundByItsStrings) {
    const std::vector<hf::Device> devices{{0, "Realtek", "RTL2838UHIDIR", "1"},
                                          {1, "RTLSDRBlog", "Blog V4", "00000001"},
                                          {2, "RTLSDRBlog", "Blog V4", "00000002"}};
    EXPECT_EQ(app::dongleInUseItem(devices, {1, "RTLSDRBlog", "Blog V4", "00000001"}), 2);
    EXPECT_EQ(app::dongleInUseItem(devices, {2, "RTLSDRBlog", "Blog V4", "00000002"}), 3);
    // Remembered without its index, as after a restart: found by its strings.
    EXPECT_EQ(app::dongleInUseItem(devices, {0, "RTLSDRBlog", "Blog V4", "00000001"}), 2);
    // Another serial: not the dongle in use.
    EXPECT_EQ(app::dongleInUseItem(devices, {1, "RTLSDRBlog", "Blog V4", "00000009"}), 0);
    EXPECT_EQ(app::dongleInUseItem({}, {1, "RTLSDRBlog", "Blog V4", "00000001"}), 0);
}

TEST(CommandRules, ChosenDongleSkipsThePromptAndBadItems) {
    EXPECT_FALSE(app::chosenDongle(0, 2));  // "Choisir une clé…"
    EXPECT_FALSE(app::chosenDongle(-1, 2));
    EXPECT_FALSE(app::chosenDongle(3, 2));
    EXPECT_FALSE(app::chosenDongle(1, 0));
    EXPECT_EQ(app::chosenDongle(1, 2), 0u);
    EXPECT_EQ(app::chosenDongle(2, 2), 1u);
}

}  // namespace
