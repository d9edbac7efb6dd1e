#include "app/rules/form_publication.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t usb = 2, cw = 4;
constexpr int32_t columns = 480;  // 1000 Hz a column over 480 kHz

const hf::Device v4{0, "RTLSDRBlog", "Blog V4", "00000001"};
const app::CentreView form{};
const app::CentreView pan{false, true, 480000};
const app::CentreView scan480{true, false, 480000};

hf::Settings read(uint32_t frequency, int32_t mode, int32_t bandwidth) {
    hf::Settings s;
    s.Frequency = frequency;
    s.Mode = mode;
    s.Bandwidth = bandwidth;
    return s;
}

TEST(FormPublication, KeepsTheFormValuesAndSetsTheChosenCentre) {
    hf::Settings typed = read(7100000, cw, 500);
    typed.PPM = 12;
    typed.center = 123;  // whatever the reading left there is not a centre
    const app::FormPublication p = app::formPublication(typed, 7000000, 7000000, form, v4, columns);
    hf::Settings expected = typed;
    expected.center = 7000000;
    EXPECT_EQ(p.settings, expected);
    EXPECT_FALSE(p.outOfSpan);
    EXPECT_EQ(p.waterfallShift, 0);
}

TEST(FormPublication, APanDragCanLeaveThePassbandOutsideTheReceivedSpan) {
    EXPECT_TRUE(app::formPublication(read(7183000, usb, 2700), 7000000, 7000000, pan, v4, columns)
                    .outOfSpan);
    EXPECT_FALSE(app::formPublication(read(7182000, usb, 2700), 7000000, 7000000, pan, v4, columns)
                     .outOfSpan);
}

TEST(FormPublication, TheWaterfallFollowsAMovedCentreToTheNearestColumn) {
    // 175500 Hz is beyond the kept window of a 500 Hz filter: the centre
    // follows, 175.5 columns, rounded away from zero.
    const auto up = app::formPublication(read(7175500, cw, 500), 7000000, 7000000, form, v4, columns);
    EXPECT_EQ(up.settings.center, 7175500u);
    EXPECT_EQ(up.waterfallShift, 176);
    const auto down = app::formPublication(read(6824500, cw, 500), 7000000, 7000000, form, v4, columns);
    EXPECT_EQ(down.waterfallShift, -176);
}

TEST(FormPublication, TheFirstPublicationShiftsNothing) {
    const auto p = app::formPublication(read(14074000, usb, 2700), 0, 0, form, v4, columns);
    EXPECT_EQ(p.settings.center, 14074000u);
    EXPECT_EQ(p.waterfallShift, 0);
}

TEST(FormPublication, AFreshScanCentreShiftsFromThePublishedOne) {
    // The scanner clears the form's centre at its first entry; the waterfall
    // on screen still belongs to the centre published before.
    const auto p = app::formPublication(read(26000000, usb, 2700), 0, 27175150, scan480, v4, columns);
    EXPECT_EQ(p.settings.center, 26175150u);
    EXPECT_EQ(p.waterfallShift, -1000);
}

}  // namespace
