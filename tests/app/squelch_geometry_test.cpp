#include <gtest/gtest.h>

#include "app/rules/plot_geometry.h"
#include "app/rules/squelch_gate.h"

namespace {

struct GateCase {
    const char* what;
    app::SquelchGate before;
    int32_t squelch;
    float level;
    uint64_t now;
    app::SquelchGate after;
};

TEST(SquelchGate, HysteresisHoldAndOff) {
    const GateCase cases[] = {
        {"off opens at once", {false, 0}, 0, -150.0f, 900, {true, 900}},
        {"open gate keeps 2 dB of hysteresis", {true, 100}, 70, -41.5f, 1000, {true, 1000}},
        {"closed gate needs the threshold", {false, 100}, 70, -41.5f, 1000, {false, 100}},
        {"closed gate opens at the threshold", {false, 100}, 70, -40.0f, 1000, {true, 1000}},
        {"hold keeps it open for 250 ms", {true, 1000}, 70, -60.0f, 1250, {true, 1000}},
        {"closes after more than 250 ms", {true, 1000}, 70, -60.0f, 1251, {false, 1000}},
        {"clock behind the last time keeps it", {true, 5000}, 70, -60.0f, 1000, {true, 5000}},
    };
    for (const GateCase& c : cases) {
        const app::SquelchGate got = app::nextSquelchGate(c.before, c.squelch, c.level, c.now);
        EXPECT_EQ(got.open, c.after.open) << c.what;
        EXPECT_EQ(got.aboveMs, c.after.aboveMs) << c.what;
    }
}

TEST(PlotGeometry, HeightsColumnsAndScale) {
    const app::PlotGeometry plot = app::plotGeometry(1160, 580, 1.0f);
    EXPECT_EQ(plot.columns, 1000);
    EXPECT_EQ(plot.mid, 550);
    EXPECT_EQ(plot.spectrumHeight, 330);  // (580 - 80) * 66 / 100
    EXPECT_EQ(plot.waterfallHeight, 170);
    const app::PlotGeometry scaled = app::plotGeometry(1740, 870, 1.5f);
    EXPECT_EQ(scaled.width, 1160);
    EXPECT_EQ(scaled.spectrumHeight, 330);
    const app::PlotGeometry tiny = app::plotGeometry(100, 83, 1.0f);
    EXPECT_EQ(tiny.columns, 1);
    EXPECT_EQ(tiny.spectrumHeight, 1);   // 3 * 66 <= 199
    EXPECT_EQ(tiny.waterfallHeight, 1);
    const app::PlotGeometry low = app::plotGeometry(1160, 85, 1.0f);  // 5 * 66 > 199, 5 * 34 <= 199
    EXPECT_EQ(low.spectrumHeight, 3);
    EXPECT_EQ(low.waterfallHeight, 1);
}

TEST(PlotGeometry, OffsetsAndColumnsAgree) {
    const app::PlotGeometry plot = app::plotGeometry(1160, 580, 1.0f);
    EXPECT_EQ(app::offsetColumn(plot, 0, 480000), 550);
    EXPECT_EQ(app::offsetColumn(plot, 4500, 480000), 559);    // trunc(9.375)
    EXPECT_EQ(app::offsetColumn(plot, -4500, 480000), 541);   // towards zero
    EXPECT_EQ(app::offsetColumn(plot, 240000, 480000), 1050);
    EXPECT_DOUBLE_EQ(app::columnFrequency(plot, 50, 27185000, 480000), 26945000.0);
    EXPECT_DOUBLE_EQ(app::columnFrequency(plot, 550, 27185000, 480000), 27185000.0);
    EXPECT_EQ(app::viewCentre(0, 7023000), 7023000u);
    EXPECT_EQ(app::viewCentre(7000000, 7023000), 7000000u);
}

}  // namespace
