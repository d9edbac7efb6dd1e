// The pixel, scale and level rules at the ends of the integer and float
// ranges: every result stays finite, bounded and inside its plot. Under the
// sanitizers these cases also show that no figure overflows on the way.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "app/rules/construction_rules.h"
#include "app/rules/meter_rules.h"
#include "app/rules/plot_mouse_rules.h"
#include "app/rules/plot_rules.h"
#include "app/rules/squelch_gate.h"
#include "app/rules/tick_rules.h"
#include "app/rules/value_bounds.h"
#include "app/rules/waterfall_shift.h"
#include "app/rules/window_rules.h"
#include "hf/passband.h"

namespace {

constexpr int32_t intMin = std::numeric_limits<int32_t>::min();
constexpr int32_t intMax = std::numeric_limits<int32_t>::max();
constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

constexpr int32_t extremeInts[] = {intMin, -1, 0, intMax};
constexpr float extremeScales[] = {0.0f, -1.0f, nan, inf, -inf, 1e-30f, 1e30f};

bool within(int64_t v, int64_t lo, int64_t hi) { return lo <= v && v <= hi; }

TEST(ValueBounds, WindowSizesAndScalesStayOnScreenScale) {
    for (float scale : extremeScales) {
        const app::Point size = app::windowSize(scale, 0, 0);
        EXPECT_TRUE(within(size.x, 1320 / 64, 1320 * 64)) << scale;
        EXPECT_TRUE(within(size.y, 740 / 64, 740 * 64)) << scale;
        for (int32_t v : extremeInts) {
            EXPECT_TRUE(within(app::logicalPixel(v, scale), -64 * app::pixelBound, 64 * app::pixelBound));
            EXPECT_TRUE(within(app::scaled(v, scale), -64 * app::pixelBound, 64 * app::pixelBound));
            const app::LogicalSize logical = app::logicalClientSize(v, v, scale);
            EXPECT_TRUE(within(logical.width, -64 * app::pixelBound, 64 * app::pixelBound));
        }
    }
    // Not a number, 0 or less: the scale of an unjudged window, 1.
    EXPECT_EQ(app::logicalPixel(1320, nan), 1320);
    EXPECT_EQ(app::fontSizes(0.0f), app::fontSizes(1.0f));
    const float huge = app::uiScale(std::numeric_limits<uint32_t>::max(), 0, 0);
    EXPECT_EQ(huge, app::largestScale);

    for (int32_t v : extremeInts) {
        const app::Rect r{v, v, -v - 1, -v - 1};
        EXPECT_EQ(app::frameHit(false, 1.0f, r, {v, v}, {v, v}, v), app::FrameHit::topLeft);
        const app::TrackingSizes sizes = app::trackingSizes(1.0f, app::MonitorArea{r, {v, -1, -v - 1, 1}});
        ASSERT_TRUE(sizes.maximised.has_value());
        EXPECT_TRUE(within(sizes.maximised->size.x, -2 * app::pixelBound, 2 * app::pixelBound));
    }
    EXPECT_EQ(app::squelchFromSlider(intMax), 110);
    EXPECT_EQ(app::squelchStatus(intMin), L"Squelch : -2147483758 dBFS");
}

TEST(ValueBounds, GridsAreFewLinesInsideThePlot) {
    for (int32_t top : extremeInts)
        for (int32_t range : {1, 31, intMax})
            for (int32_t height : extremeInts) {
                const std::vector<app::LevelLine> lines = app::levelGrid(top, range, height);
                EXPECT_LE(lines.size(), 101u) << top << " " << range;
                for (const app::LevelLine& line : lines)
                    EXPECT_TRUE(within(line.y, 44 - app::pixelBound, 44 + app::pixelBound));
            }
    // The example of a top no level reaches: a handful of lines, not a billion.
    EXPECT_EQ(app::levelGrid(intMin, 100, 300).size(), 6u);

    for (float scale : extremeScales)
        for (int32_t w : extremeInts)
            for (int32_t h : extremeInts) {
                const app::PlotGeometry plot = app::plotGeometry(w, h, scale);
                EXPECT_TRUE(within(plot.columns, 1, app::pixelBound));
                EXPECT_TRUE(within(plot.waterfallHeight, 1, app::pixelBound));
                for (uint32_t centre : {0u, std::numeric_limits<uint32_t>::max()})
                    for (int32_t span : {intMin, intMax}) {
                        const auto lines = app::frequencyGrid(plot, centre, span);
                        ASSERT_EQ(lines.size(), 9u);
                        EXPECT_EQ(lines.back().x, 50 + plot.columns);
                    }
            }
    // A geometry no window makes is taken as the nearest one it can.
    const app::PlotGeometry wild{intMax, intMin, intMax, intMin, 0, intMin};
    EXPECT_EQ(app::frequencyGrid(wild, 7000000, 12000).back().x, 50 + app::pixelBound);
    for (int32_t row : {intMin, -1, intMax})
        for (int32_t height : {intMin, 0, 170, intMax}) {
            const int light = app::backgroundStripLight(row, height);
            EXPECT_TRUE(light >= 0 && light <= 100) << row << " in " << height << ": " << light;
        }
}

TEST(ValueBounds, WaterfallHistoryStaysBoundedAndInsideItself) {
    std::vector<float> history;
    int32_t columns = 0;
    int32_t rows = 0;
    app::fitWaterfall(history, columns, rows, intMax, 1);
    EXPECT_EQ(history.size(), 16384u);
    app::fitWaterfall(history, columns, rows, 1, intMax);
    EXPECT_EQ(history.size(), 4096u);
    app::fitWaterfall(history, columns, rows, intMin, intMin);
    EXPECT_EQ(history.size(), 1u);

    // 7 values in rows of 3: the last row is cut short.
    const std::vector<float> shortRow{-10.0f, -20.0f, -30.0f, -40.0f, -50.0f, -60.0f, -70.0f};
    const app::WaterfallColours colours = app::waterfallColourTable(50, 65, 50);
    std::vector<uint32_t> pixels;
    app::waterfallImage(shortRow, 3, 1, colours, pixels);
    EXPECT_EQ(pixels[6], colours[0]);
    EXPECT_EQ(pixels[5], colours[0]);
    EXPECT_EQ(pixels[4], colours[app::colourIndex(-60.0f)]);
    for (int64_t shift : {std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()}) {
        app::waterfallImage(shortRow, 3, shift, colours, pixels);
        EXPECT_EQ(pixels, std::vector<uint32_t>(7, colours[0]));
        EXPECT_EQ(app::shiftedWaterfall(shortRow, 3, shift), std::vector<float>(7, -150.0f));
    }
    const int64_t moved = app::waterfallShift(1, std::numeric_limits<uint32_t>::max(), intMax, 1);
    EXPECT_EQ(moved, int64_t{std::numeric_limits<uint32_t>::max() - 1} * app::pixelBound);
}

TEST(ValueBounds, MouseDragsKeepEveryValueInItsRange) {
    const app::PlotGeometry plot = app::plotGeometry(1160, 580, 1.0f);
    hf::Settings form;
    form.Frequency = 7074000;
    form.center = 7074000;
    for (int32_t mode : {0, 2, 3, 4})
        for (int32_t bandwidth : {intMin, intMax}) {
            form.Mode = mode;
            form.Bandwidth = bandwidth;
            for (int32_t x : extremeInts)
                for (int32_t y : extremeInts) {
                    const app::Press press = app::pressAt(plot, intMax, form, x, y, true);
                    EXPECT_TRUE(within(press.mode, app::dragNone, app::dragLightStrip));
                    const auto tuned = app::clickFrequency(plot, intMax, form, x);
                    EXPECT_TRUE(!tuned || within(*tuned, 500000, 52000000));
                    const app::DragStart start = app::dragStart(y, x, intMin, form);
                    for (int32_t drag : {app::dragFrequency, app::dragView, app::dragUpperEdge,
                                         app::dragScale, app::dragRangeSlider, app::dragContrastSlider,
                                         app::dragLightStrip}) {
                        hf::Settings moved = form;
                        app::DisplayLevels levels;
                        levels.spectrumRange = intMax;
                        app::dragTo(drag, {plot, intMax, nan}, start, x, y, moved, levels);
                        EXPECT_TRUE(within(moved.Frequency, 500000, 52000000));
                        EXPECT_TRUE(drag != app::dragView || within(moved.center, 500000, 52000000));
                        EXPECT_TRUE(drag != app::dragUpperEdge || within(moved.Bandwidth, 100, 15000));
                        EXPECT_TRUE(within(levels.spectrumTop, -100, 20));
                        EXPECT_TRUE(within(levels.waterfallContrast, 0, 100));
                        EXPECT_TRUE(within(levels.waterfallLight, 0, 100));
                    }
                }
        }
    EXPECT_EQ(hf::passband(2, intMax).hi, intMax);
    EXPECT_EQ(hf::passband(3, intMax).lo, intMin);
}

TEST(ValueBounds, MeterSquelchAndBoxesAtTheEnds) {
    for (int32_t v : extremeInts) {
        const app::MeterGeometry meter = app::meterGeometry({v, v, v, v}, v < 0);
        for (int segment : {intMin, intMax}) {
            for (const app::Point& corner : app::meterSegment(meter, segment))
                EXPECT_TRUE(within(corner.x, -3 * app::pixelBound, 3 * app::pixelBound));
        }
        EXPECT_TRUE(within(app::scaleLabelBox(meter, v).left, -20 * app::pixelBound, 20 * app::pixelBound));
        EXPECT_EQ(app::nextSquelchGate({false, 0}, v, -inf, 1000).open, v == 0);
        const app::PixelRect rect = app::windowRect({v, v, v, v}, nan);
        EXPECT_TRUE(within(rect.right, -2 * app::pixelBound, 2 * app::pixelBound));
        EXPECT_TRUE(within(app::windowBox(108, {v, v, v, v}, inf).h, -64 * 2 * app::pixelBound,
                           64 * 2 * app::pixelBound));
    }
    EXPECT_EQ(app::segmentColour(intMin), app::segmentColour(0));
    EXPECT_EQ(app::segmentColour(intMax), app::segmentColour(app::meterSegmentCount - 1));
}

}  // namespace
