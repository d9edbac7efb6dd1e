#include "app/rules/plot_mouse_rules.h"

#include <gtest/gtest.h>

namespace {

// 1000 columns from x = 50, view centre at x = 550; spectrum 330 px, waterfall 170 px.
const app::PlotGeometry plot = app::plotGeometry(1160, 580, 1.0f);

hf::Settings form(int32_t mode, int32_t bandwidth, uint32_t frequency = 7023000, uint32_t centre = 0) {
    hf::Settings s;
    s.Mode = mode;
    s.Bandwidth = bandwidth;
    s.Frequency = frequency;
    s.center = centre;
    return s;
}

struct PressCase {
    const char* what;
    hf::Settings settings;
    int32_t span;
    int32_t x;
    int32_t y;
    bool shift;
    int32_t mode;
};

TEST(PlotPress, ZonesOutsideTheSpectrum) {
    const hf::Settings cw = form(4, 500);
    const PressCase cases[] = {
        {"Décalage", cw, 480000, 1060, 101, false, app::dragTopSlider},
        {"Échelle", cw, 480000, 1060, 102, false, app::dragRangeSlider},
        {"Échelle down to 169", cw, 480000, 1126, 169, false, app::dragRangeSlider},
        {"Fond", cw, 480000, 1092, 170, false, app::dragLightSlider},
        {"Plage", cw, 480000, 1093, 170, false, app::dragWaterfallRangeSlider},
        {"Contr.", cw, 480000, 1126, 170, false, app::dragContrastSlider},
        {"strip beside the waterfall", cw, 480000, 12, 375, false, app::dragLightStrip},
        {"strip, last column", cw, 480000, 40, 500, false, app::dragLightStrip},
        {"left of the strip", cw, 480000, 41, 375, false, app::dragScale},
        {"beside the spectrum", cw, 480000, 12, 374, false, app::dragScale},
        {"title band", cw, 480000, 50, 43, false, app::dragNone},
    };
    for (const PressCase& c : cases) {
        const app::Press press = app::pressAt(plot, c.span, c.settings, c.x, c.y, c.shift);
        EXPECT_EQ(press.mode, c.mode) << c.what;
        EXPECT_FALSE(press.stopsScanner) << c.what;
        EXPECT_EQ(press.appliesAtOnce, c.mode >= app::dragTopSlider) << c.what;
    }
}

TEST(PlotPress, PassbandEdgesHandlesAndView) {
    const hf::Settings cw = form(4, 500);                    // 1 px wide at 480 Hz/px, at x = 550
    const hf::Settings usb = form(2, 2700);                  // x 562 to 787 at 12 Hz/px
    const hf::Settings lsb = form(3, 2700);                  // x 313 to 538 at 12 Hz/px
    const hf::Settings panned = form(4, 500, 7023000, 7000000);  // x 597 to 598
    const PressCase cases[] = {
        {"narrow: lower handle", cw, 480000, 545, 50, false, app::dragLowerEdge},
        {"narrow: upper handle", cw, 480000, 555, 50, false, app::dragUpperEdge},
        {"narrow: between the handles", cw, 480000, 546, 50, false, app::dragFrequency},
        {"narrow: within 4 px below the band", cw, 480000, 554, 100, false, app::dragFrequency},
        {"narrow: 5 px away pans", cw, 480000, 555, 100, false, app::dragView},
        {"narrow + Shift, right side", cw, 480000, 555, 100, true, app::dragUpperEdge},
        {"narrow + Shift, far left", cw, 480000, 100, 300, true, app::dragLowerEdge},
        {"USB: upper handle", usb, 12000, 780, 50, false, app::dragUpperEdge},
        {"USB: no lower handle", usb, 12000, 562, 50, false, app::dragFrequency},
        {"USB: upper edge", usb, 12000, 783, 100, false, app::dragUpperEdge},
        {"USB: inside", usb, 12000, 700, 100, false, app::dragFrequency},
        {"USB: Shift on a wide band", usb, 12000, 700, 100, true, app::dragFrequency},
        {"USB: left of the band", usb, 12000, 560, 100, false, app::dragView},
        {"USB: right of the edge", usb, 12000, 792, 100, false, app::dragView},
        {"LSB: lower edge", lsb, 12000, 313, 100, false, app::dragLowerEdge},
        {"LSB: no upper edge", lsb, 12000, 538, 100, false, app::dragFrequency},
        {"LSB: lower handle", lsb, 12000, 320, 44, false, app::dragLowerEdge},
        {"offset from the view centre", panned, 480000, 597, 100, false, app::dragFrequency},
        {"at the view centre, panned", panned, 480000, 550, 100, false, app::dragView},
    };
    for (const PressCase& c : cases) {
        const app::Press press = app::pressAt(plot, c.span, c.settings, c.x, c.y, c.shift);
        EXPECT_EQ(press.mode, c.mode) << c.what;
        EXPECT_TRUE(press.stopsScanner) << c.what;
        EXPECT_FALSE(press.appliesAtOnce) << c.what;
    }
}

struct DragCase {
    const char* what;
    int32_t mode;
    hf::Settings settings;
    int32_t span;
    int32_t dx;
    uint32_t frequency;
    uint32_t centre;
    int32_t bandwidth;
};

TEST(PlotDrag, FrequencyViewAndEdges) {
    hf::Settings step10 = form(4, 500);
    step10.Step = 10;
    hf::Settings step1000 = form(4, 500);
    step1000.Step = 1000;
    hf::Settings half = step10;
    half.Frequency = 7023005;
    hf::Settings top = form(0, 9000, 51999000);
    const DragCase cases[] = {
        {"Step 10 rounds to 10 Hz", app::dragFrequency, step10, 12000, 1, 7023010, 0, 500},
        {"Step 1000 rounds to 100 Hz", app::dragFrequency, step1000, 12000, 1, 7023000, 0, 500},
        {"Step 1000, 60 Hz up", app::dragFrequency, step1000, 12000, 5, 7023100, 0, 500},
        {"a half rounds upward", app::dragFrequency, half, 12000, 0, 7023010, 0, 500},
        {"frequency stops at 52 MHz", app::dragFrequency, top, 480000, 10, 52000000, 0, 9000},
        {"view follows the mouse", app::dragView, form(4, 500, 7023000, 7000000), 480000, 10, 7023000,
         6995200, 500},
        {"view starts from the frequency", app::dragView, form(4, 500), 480000, -10, 7023000, 7027800, 500},
        {"view stops at 500 kHz", app::dragView, form(4, 500, 600000), 480000, 300, 600000, 500000, 500},
        {"USB upper edge", app::dragUpperEdge, form(2, 2700), 480000, 10, 7023000, 0, 7500},
        {"LSB lower edge to the left widens", app::dragLowerEdge, form(3, 2700), 12000, -10, 7023000, 0, 2820},
        {"CW capped at 25 Hz per px, both sides", app::dragUpperEdge, form(4, 500), 480000, 10, 7023000, 0,
         1000},
        {"CW below the cap", app::dragLowerEdge, form(4, 500), 12000, 10, 7023000, 0, 260},
        {"AM lower edge clamped", app::dragLowerEdge, form(0, 9000), 480000, -10, 7023000, 0, 15000},
        {"FM narrowed to the floor", app::dragUpperEdge, form(1, 12000), 480000, -20, 7023000, 0, 100},
    };
    for (const DragCase& c : cases) {
        const app::DragView view{plot, c.span, 580.0f};
        const app::DragStart start = app::dragStart(500, 200, -20, c.settings);
        hf::Settings moved = c.settings;
        app::DisplayLevels levels;
        app::dragTo(c.mode, view, start, 500 + c.dx, 260, moved, levels);
        EXPECT_EQ(moved.Frequency, c.frequency) << c.what;
        EXPECT_EQ(moved.center, c.centre) << c.what;
        EXPECT_EQ(moved.Bandwidth, c.bandwidth) << c.what;
        EXPECT_EQ(levels, app::DisplayLevels{}) << c.what;
    }
}

// 786 px of 1152 at 12 kHz is 8187.5 Hz: a distance rounded per pixel first
// comes out a hertz short.
TEST(PlotDrag, DistanceRoundsOnceOverTheWholeDrag) {
    const app::PlotGeometry wide = app::plotGeometry(1312, 580, 1.0f);
    ASSERT_EQ(wide.columns, 1152);
    const hf::Settings settings = form(4, 500, 7023000, 7000000);
    const app::DragStart start = app::dragStart(900, 200, -20, settings);
    hf::Settings moved = settings;
    app::DisplayLevels levels;
    app::dragTo(app::dragView, {wide, 12000, 580.0f}, start, 900 - 786, 200, moved, levels);
    EXPECT_EQ(moved.center, 7008188u);
}

TEST(PlotDrag, DisplayLevels) {
    struct LevelCase {
        const char* what;
        int32_t mode;
        int32_t startTop;
        int32_t x;
        int32_t y;
        app::DisplayLevels after;
    };
    const app::DisplayLevels rest;
    auto with = [&](int32_t app::DisplayLevels::*field, int32_t value) {
        app::DisplayLevels l = rest;
        l.*field = value;
        return l;
    };
    using L = app::DisplayLevels;
    const LevelCase cases[] = {
        // H = 600 below: 40 px down with a 100 dB range raise the top by 10 dB.
        {"scale down 40 px", app::dragScale, -20, 0, 240, with(&L::spectrumTop, -10)},
        {"scale stops at 20", app::dragScale, 15, 0, 240, with(&L::spectrumTop, 20)},
        {"scale stops at -100", app::dragScale, -90, 0, -200, with(&L::spectrumTop, -100)},
        {"scale truncates toward zero", app::dragScale, -20, 0, 199, with(&L::spectrumTop, -20)},
        {"Décalage at the start of the track", app::dragTopSlider, 0, 1065, 0, with(&L::spectrumTop, -100)},
        {"Décalage halfway", app::dragTopSlider, 0, 1105, 0, with(&L::spectrumTop, -40)},
        {"Décalage at the end", app::dragTopSlider, 0, 1145, 0, with(&L::spectrumTop, 20)},
        {"Décalage beyond", app::dragTopSlider, 0, 1300, 0, with(&L::spectrumTop, 20)},
        {"Échelle at the start", app::dragRangeSlider, 0, 1000, 0, with(&L::spectrumRange, 20)},
        {"Échelle at the end", app::dragRangeSlider, 0, 1145, 0, with(&L::spectrumRange, 140)},
        // Client height 580: a track of 352 px from y = 194.
        {"Fond at the top", app::dragLightSlider, 0, 0, 194, with(&L::waterfallLight, 100)},
        {"Fond at the bottom", app::dragLightSlider, 0, 0, 600, with(&L::waterfallLight, 0)},
        {"Plage halfway", app::dragWaterfallRangeSlider, 0, 0, 370, with(&L::waterfallRange, 57)},
        {"Plage at the bottom", app::dragWaterfallRangeSlider, 0, 0, 546, with(&L::waterfallRange, 15)},
        {"Contr. halfway", app::dragContrastSlider, 0, 0, 370, with(&L::waterfallContrast, 50)},
        {"Contr. above the track", app::dragContrastSlider, 0, 0, 0, with(&L::waterfallContrast, 100)},
        // The waterfall runs from y = 375, 170 px high (with H = 580).
        {"strip at the waterfall top", app::dragLightStrip, 0, 0, 375, with(&L::waterfallLight, 100)},
        {"strip halfway", app::dragLightStrip, 0, 0, 460, with(&L::waterfallLight, 50)},
        {"strip below", app::dragLightStrip, 0, 0, 600, with(&L::waterfallLight, 0)},
    };
    for (const LevelCase& c : cases) {
        const app::PlotGeometry tall = app::plotGeometry(1160, c.mode == app::dragScale ? 600 : 580, 1.0f);
        const app::DragView view{tall, 480000, 580.0f};
        const hf::Settings settings = form(4, 500);
        const app::DragStart start = app::dragStart(0, 200, c.startTop, settings);
        hf::Settings moved = settings;
        app::DisplayLevels levels;
        app::dragTo(c.mode, view, start, c.x, c.y, moved, levels);
        EXPECT_EQ(levels, c.after) << c.what;
        EXPECT_EQ(moved, settings) << c.what;
    }
}

TEST(PlotDrag, ShortWindowKeepsAWaterfallTrack) {
    const app::DragView view{plot, 480000, 200.0f};  // 200 - 228 < 20: the track is 20 px
    const app::DragStart start = app::dragStart(0, 0, -20, form(4, 500));
    hf::Settings settings = form(4, 500);
    app::DisplayLevels levels;
    app::dragTo(app::dragLightSlider, view, start, 0, 204, settings, levels);
    EXPECT_EQ(levels.waterfallLight, 50);
}

TEST(PlotDrag, ClicksAndPublishing) {
    const app::DragStart start = app::dragStart(500, 200, -20, form(4, 500));
    EXPECT_TRUE(app::isClick(app::dragFrequency, start, 503, 197));
    EXPECT_TRUE(app::isClick(app::dragView, start, 497, 203));
    EXPECT_FALSE(app::isClick(app::dragFrequency, start, 504, 200));
    EXPECT_FALSE(app::isClick(app::dragView, start, 500, 204));
    EXPECT_FALSE(app::isClick(app::dragUpperEdge, start, 500, 200));

    using P = app::DragPublish;
    EXPECT_EQ(app::dragPublish(app::dragView, false, 5000, 0), P::none);
    EXPECT_EQ(app::dragPublish(app::dragView, true, 5000, 0), P::publishAndSave);
    EXPECT_EQ(app::dragPublish(app::dragLowerEdge, true, 5001, 5000), P::publishAndSave);
    EXPECT_EQ(app::dragPublish(app::dragUpperEdge, false, 5099, 5000), P::none);
    EXPECT_EQ(app::dragPublish(app::dragUpperEdge, false, 5100, 5000), P::publish);
    EXPECT_EQ(app::dragPublish(app::dragFrequency, false, 50, 0), P::publish);  // first move, early clock
    for (int32_t display : {app::dragScale, app::dragTopSlider, app::dragLightStrip})
        EXPECT_EQ(app::dragPublish(display, true, 5000, 0), P::none);

    // Moves 40 ms apart: the first applies, then one in three.
    uint64_t last = 0;
    std::vector<uint64_t> applied;
    for (uint64_t now = 1000; now <= 1240; now += 40) {
        if (app::dragPublish(app::dragFrequency, false, now, last) == P::publish) {
            applied.push_back(now);
            last = now;
        }
    }
    EXPECT_EQ(applied, (std::vector<uint64_t>{1000, 1120, 1240}));
}

TEST(PlotClick, TunesToTheColumnExactly) {
    EXPECT_EQ(app::clickFrequency(plot, 480000, form(4, 500), 550), 7023000u);
    EXPECT_EQ(app::clickFrequency(plot, 480000, form(4, 500), 551), 7023480u);
    EXPECT_EQ(app::clickFrequency(plot, 480000, form(4, 500), 50), 6783000u);
    EXPECT_EQ(app::clickFrequency(plot, 480000, form(4, 500), 1050), 7263000u);
    EXPECT_EQ(app::clickFrequency(plot, 480000, form(0, 9000, 27185000, 27000000), 550), 27000000u);
    EXPECT_EQ(app::clickFrequency(plot, 480000, form(4, 500, 600000), 50), 500000u);
    EXPECT_FALSE(app::clickFrequency(plot, 480000, form(4, 500), 49).has_value());
    EXPECT_FALSE(app::clickFrequency(plot, 480000, form(4, 500), 1051).has_value());
}

}  // namespace
