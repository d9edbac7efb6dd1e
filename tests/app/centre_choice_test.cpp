#include "app/rules/centre_choice.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

constexpr int32_t am = 0, fm = 1, usb = 2, lsb = 3, cw = 4;

const hf::Device v4{0, "RTLSDRBlog", "Blog V4", "00000001"};
const hf::Device v3{0, "RTLSDRBlog", "Blog V3", ""};
const hf::Device generic{0, "Realtek", "RTL2838UHIDIR", "00000001"};

hf::Settings tuned(uint32_t frequency, int32_t mode, int32_t bandwidth, uint32_t centre = 0) {
    hf::Settings s;
    s.Frequency = frequency;
    s.Mode = mode;
    s.Bandwidth = bandwidth;
    s.center = centre;
    return s;
}

struct CentreCase {
    const char* name;
    hf::Settings next;
    uint32_t previousCentre;
    app::CentreView view;
    hf::Device dongle;
    uint32_t centre;
};

void PrintTo(const CentreCase& c, std::ostream* os) { *os << c.name; }

class ChooseCentre : public testing::TestWithParam<CentreCase> {};

TEST_P(ChooseCentre, PlacesTheReceivedSpan) {
    const CentreCase& c = GetParam();
    EXPECT_EQ(app::chooseCentre(c.next, c.previousCentre, c.view, c.dongle), c.centre);
}

const app::CentreView form{};
const app::CentreView scan480{true, false, 480000};
const app::CentreView pan{false, true, 480000};

INSTANTIATE_TEST_SUITE_P(
    Rules, ChooseCentre,
    testing::Values(
        CentreCase{"no centre yet centres on the tuned frequency", tuned(7023000, cw, 500), 0, form, v4,
                   7023000},
        CentreCase{"edge of the kept window above keeps", tuned(7174500, cw, 500), 7000000, form, v4,
                   7000000},
        CentreCase{"one hertz beyond moves", tuned(7174501, cw, 500), 7000000, form, v4, 7174501},
        CentreCase{"edge of the kept window below keeps", tuned(6825500, cw, 500), 7000000, form, v4,
                   7000000},
        CentreCase{"one hertz below it moves", tuned(6825499, cw, 500), 7000000, form, v4, 6825499},
        CentreCase{"a wider filter narrows the window", tuned(7170000, am, 9000), 7000000, form, v4,
                   7170000},
        CentreCase{"scan places the lower edge at the window's start", tuned(27000000, usb, 2700), 0,
                   scan480, v4, 27175150},
        CentreCase{"scan keeps a centre the next entry fits", tuned(27010000, usb, 2700), 27175150,
                   scan480, v4, 27175150},
        CentreCase{"scan moves when the entry lies below the window", tuned(26990000, usb, 2700),
                   27175150, scan480, v4, 27165150},
        CentreCase{"scan with a passband wider than the view", tuned(27185000, fm, 12000), 27000000,
                   app::CentreView{true, false, 12000}, v4, 27185000},
        CentreCase{"scan at 48 kHz", tuned(7000000, am, 9000), 0, app::CentreView{true, false, 48000},
                   v4, 7019100},
        CentreCase{"scan clamps at the top of the band", tuned(51950000, usb, 2700), 0, scan480, v4,
                   52000000},
        CentreCase{"scan window below an LSB passband", tuned(3700000, lsb, 2700), 0, scan480, v4,
                   3872150},
        CentreCase{"pan keeps the dragged centre", tuned(7000000, cw, 500), 7400000, pan, v4, 7400000},
        CentreCase{"pan without a centre centres on the tuned frequency", tuned(7000000, cw, 500), 0,
                   pan, v4, 7000000},
        CentreCase{"centre below 25 MHz that the dongle refuses", tuned(25100000, cw, 500), 24950000,
                   form, generic, 25100000},
        CentreCase{"pan below 25 MHz that the dongle refuses", tuned(25050000, cw, 500), 24900000, pan,
                   generic, 25050000},
        CentreCase{"scan centre the dongle refuses", tuned(25020000, usb, 2700), 24900000, scan480,
                   generic, 25020000},
        CentreCase{"a dongle that receives on both sides keeps it", tuned(25100000, cw, 500), 24950000,
                   form, v3, 24950000},
        CentreCase{"no fallback when the tuned frequency is refused too", tuned(7100000, cw, 500),
                   7000000, form, generic, 7000000}));

struct SpanCase {
    const char* name;
    hf::Settings settings;
    bool outOfSpan;
};

void PrintTo(const SpanCase& c, std::ostream* os) { *os << c.name; }

class OutOfSpan : public testing::TestWithParam<SpanCase> {};

TEST_P(OutOfSpan, ComparesBothEdgesWithTheReceivedSpan) {
    EXPECT_EQ(app::outOfSpan(GetParam().settings), GetParam().outOfSpan);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, OutOfSpan,
    testing::Values(SpanCase{"USB upper edge 185850 above", tuned(7183000, usb, 2700, 7000000), true},
                    SpanCase{"USB upper edge 184850 above", tuned(7182000, usb, 2700, 7000000), false},
                    SpanCase{"LSB lower edge 185850 below", tuned(6817000, lsb, 2700, 7000000), true},
                    SpanCase{"LSB lower edge 184850 below", tuned(6818000, lsb, 2700, 7000000), false},
                    SpanCase{"CW half width counts", tuned(6814749, cw, 500, 7000000), true},
                    SpanCase{"CW just inside", tuned(6815250, cw, 500, 7000000), false},
                    SpanCase{"no centre is centred on the tuned frequency", tuned(7000000, am, 15000, 0),
                             false}));

}  // namespace
