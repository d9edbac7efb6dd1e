#include "app/rules/form_display.h"

#include "app/rules/form_reading.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const hf::Device v4{0, "RTLSDRBlog", "Blog V4", "00000001"};
const hf::Device v3{0, "RTLSDRBlog", "Blog V3", ""};
const hf::Device smart{0, "Nooelec", "NESDR SMArt v5", "SN5"};
const hf::Device generic{0, "Realtek", "RTL2838UHIDIR", "00000001"};

TEST(FormDisplay, PresetCaptionsFollowTheMode) {
    const auto cw = app::presetCaptions(4);
    EXPECT_EQ(std::wstring(cw[0]) + L"/" + cw[1] + L"/" + cw[2], L"300 Hz/500 Hz/800 Hz");
    for (int32_t mode : {0, 1, 2, 3}) {
        const auto voice = app::presetCaptions(mode);
        EXPECT_EQ(std::wstring(voice[0]) + L"/" + voice[1] + L"/" + voice[2], L"2,1 k/2,7 k/3 k");
    }
}

TEST(FormDisplay, TunerGainIsOffOnlyWhereADongleSamplesDirectly) {
    EXPECT_FALSE(app::gainControlsEnabled(v3, 7000000));
    EXPECT_FALSE(app::gainControlsEnabled(v3, 24999999));
    EXPECT_TRUE(app::gainControlsEnabled(v3, 25000000));
    EXPECT_TRUE(app::gainControlsEnabled(v3, 28000000));
    EXPECT_FALSE(app::gainControlsEnabled(smart, 7000000));
    EXPECT_TRUE(app::gainControlsEnabled(smart, 28000000));
    EXPECT_TRUE(app::gainControlsEnabled(v4, 7000000));
    EXPECT_TRUE(app::gainControlsEnabled(generic, 7000000));
}

TEST(FormDisplay, EveryTableStepShowsItsOwnItem) {
    for (std::size_t item = 0; item < app::steps.size(); ++item)
        EXPECT_EQ(app::stepSelection(app::steps[item]), static_cast<int>(item));
}

TEST(FormDisplay, AStepOutsideTheTableBecomesOneHundredHertz) {
    for (int32_t step : {25, 0, -10, 20000}) {
        app::FormControls form{L"7.023", 4, L"500", L"-4", L"700", L"18"};
        form.stepSelection = app::stepSelection(step);
        EXPECT_EQ(app::readForm(form, false, v4).Step, 100) << step;
    }
}

struct FieldChange {
    const char* field;
    void (*apply)(hf::Settings&);
    bool changesRows;
};

// The rows light what the mode, the step and the bandwidth are; any other
// field, however often the form publishes it, leaves them as they are.
TEST(FormDisplay, OnlyModeStepAndWidthChangeTheRows) {
    const hf::Settings before;
    const FieldChange changes[] = {
        {"Mode", [](hf::Settings& s) { s.Mode = 2; }, true},
        {"Bandwidth", [](hf::Settings& s) { s.Bandwidth = 3000; }, true},
        {"Step", [](hf::Settings& s) { s.Step = 1000; }, true},
        {"Frequency", [](hf::Settings& s) { s.Frequency += 1000; }, false},
        {"center", [](hf::Settings& s) { s.center = 7100000; }, false},
        {"PPM", [](hf::Settings& s) { s.PPM = 3; }, false},
        {"Tone", [](hf::Settings& s) { s.Tone = 900; }, false},
        {"Gain", [](hf::Settings& s) { s.Gain = 100; }, false},
    };
    for (const FieldChange& c : changes) {
        hf::Settings after = before;
        c.apply(after);
        EXPECT_EQ(app::choiceRowsChange(before, after), c.changesRows) << c.field;
    }
    EXPECT_FALSE(app::choiceRowsChange(before, before));
}

}  // namespace
