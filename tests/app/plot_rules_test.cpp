#include "app/rules/plot_bins.h"
#include "app/rules/plot_geometry.h"
#include "app/rules/plot_mouse_rules.h"
#include "app/rules/plot_rules.h"
#include "hf/waterfall_colours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

namespace {

hf::Settings tuned(uint32_t frequency, uint32_t centre, int32_t mode, int32_t bandwidth) {
    hf::Settings settings;
    settings.Frequency = frequency;
    settings.center = centre;
    settings.Mode = mode;
    settings.Bandwidth = bandwidth;
    return settings;
}

// A plot 1160 logical pixels wide: 1000 columns, the view centre at x = 550.
const app::PlotGeometry plot = app::plotGeometry(1160, 580, 1.0f);

TEST(PlotGeometry, PassbandColumnsAndHandles) {
    // 480 Hz per column on the 480 kHz view.
    struct Case {
        const char* what;
        hf::Settings form;
        int32_t span;
        int32_t lo, hi, lowerHandle, upperHandle;
    } cases[] = {
        {"AM on the centre", tuned(27185000, 27185000, 0, 9000), 480000, 541, 559, 538, 562},
        {"USB off the centre", tuned(27185000, 27000000, 2, 2700), 480000, 935, 941, 926, 950},
        {"LSB below the centre", tuned(6900000, 7000000, 3, 2700), 480000, 336, 342, 327, 351},
        {"no centre yet", tuned(7023000, 0, 4, 500), 480000, 550, 550, 538, 562},
        {"wide passband on a narrow view", tuned(7023000, 7023000, 0, 15000), 12000, -75, 1175, -75,
         1175},
    };
    for (const Case& c : cases) {
        const app::PassbandColumns edges = app::passbandColumns(plot, c.form, c.span);
        EXPECT_EQ(edges.lo, c.lo) << c.what;
        EXPECT_EQ(edges.hi, c.hi) << c.what;
        EXPECT_EQ(app::lowerHandleColumn(edges), c.lowerHandle) << c.what;
        EXPECT_EQ(app::upperHandleColumn(edges), c.upperHandle) << c.what;
    }
}

TEST(PlotGeometry, WaterfallGetsAtLeastOneColumnAndRow) {
    EXPECT_EQ(app::plotGeometry(160, 600, 1.0f).columns, 1);
    EXPECT_EQ(app::plotGeometry(161, 600, 1.0f).columns, 1);
    EXPECT_EQ(app::plotGeometry(162, 600, 1.0f).columns, 2);
    EXPECT_EQ(app::plotGeometry(1160, 85, 1.0f).waterfallHeight, 1);  // 5 * 34 = 170
    EXPECT_EQ(app::plotGeometry(1160, 86, 1.0f).waterfallHeight, 2);  // 6 * 34 = 204
}

TEST(PlotText, BandNames) {
    const struct {
        uint32_t hz;
        const wchar_t* band;
    } cases[] = {
        {1800000, L"160 mètres"},
        {7200000, L"40 mètres"},
        {7200001, L"Hors bande prédéfinie"},
        {10150000, L"30 mètres"},
        {27185000, L"CB 11 m"},                       // channel 19
        {27190000, L"CB / extensions — 11 mètres"},   // between channels
        {52000000, L"6 mètres"},
        {52000001, L"Hors bande prédéfinie"},
        {500000, L"Hors bande prédéfinie"},
    };
    for (const auto& c : cases) EXPECT_EQ(app::bandName(c.hz), c.band) << c.hz;
}

TEST(PlotText, Title) {
    EXPECT_EQ(app::plotTitle(tuned(27185000, 27185000, 0, 9000), 480000),
              L"CB 11 m • Canal 19 • 27.185000 MHz • AM • Filtre 9000 Hz • Vue 480 kHz");
    EXPECT_EQ(app::plotTitle(tuned(7023050, 7000000, 4, 500), 12000),
              L"40 mètres • 7.023050 MHz • CW • Filtre 500 Hz • Vue 12 kHz");
    EXPECT_EQ(app::plotTitle(tuned(500001, 0, 3, 2700), 96000),
              L"Hors bande prédéfinie • 0.500001 MHz • LSB • Filtre 2700 Hz • Vue 96 kHz");
}

TEST(PlotText, SecondLine) {
    EXPECT_EQ(app::plotSecondLine({false, L"", 0, 5000, 100}), L"Accord manuel • Pas +/− : 100 Hz");
    EXPECT_EQ(app::plotSecondLine({true, L"■ Arrêter", 0, 10000, 100}),
              L"Scan : ■ Arrêter • table des canaux CB");
    EXPECT_EQ(app::plotSecondLine({true, L"■ Arrêter", 7, 10000, 100}),
              L"Scan : ■ Arrêter • table des canaux CB");
    EXPECT_EQ(app::plotSecondLine({true, L"■ Arrêter", 1, 1000, 100}), L"Scan : ■ Arrêter • pas 1000 Hz");
    EXPECT_EQ(app::plotSecondLine({true, L"■ Arrêter", 4, -3000, 100}), L"Scan : ■ Arrêter • pas -3000 Hz");
    EXPECT_EQ(app::plotSecondLine({true, L"■ Arrêter", 3, std::nullopt, 100}), L"Scan : ■ Arrêter");
}

TEST(PlotText, ScanStepNeedsTwoEntries) {
    EXPECT_EQ(app::scanStep({}), std::nullopt);
    EXPECT_EQ(app::scanStep({tuned(7000000, 0, 4, 500)}), std::nullopt);
    EXPECT_EQ(app::scanStep({tuned(7005000, 0, 4, 500), tuned(7000000, 0, 4, 500)}), -5000);
}

std::vector<std::wstring> labels(const std::vector<app::LevelLine>& lines) {
    std::vector<std::wstring> out;
    for (const app::LevelLine& line : lines) out.push_back(line.label);
    return out;
}

TEST(LevelGrid, StepAndFirstLine) {
    using Labels = std::vector<std::wstring>;
    EXPECT_EQ(labels(app::levelGrid(-20, 100, 330)),
              (Labels{L"-20", L"-40", L"-60", L"-80", L"-100", L"-120"}));
    // The first line is rounded down, never above a negative top.
    EXPECT_EQ(labels(app::levelGrid(-25, 100, 330)), (Labels{L"-40", L"-60", L"-80", L"-100", L"-120"}));
    EXPECT_EQ(labels(app::levelGrid(10, 31, 330)), (Labels{L"+10", L"0", L"-10", L"-20"}));
    EXPECT_EQ(labels(app::levelGrid(0, 30, 330)),
              (Labels{L"0", L"-5", L"-10", L"-15", L"-20", L"-25", L"-30"}));
    EXPECT_EQ(labels(app::levelGrid(-100, 70, 330)).front(), L"-100");  // 70 dB: 10 dB steps
}

TEST(LevelGrid, LinesSitAtTheirLevel) {
    const std::vector<app::LevelLine> lines = app::levelGrid(-25, 100, 330);
    // -40 is 15 dB below the top: 44 + 49.5 rounded away from zero.
    EXPECT_EQ(lines.front().y, 94);
    EXPECT_EQ(lines.back().y, 44 + 314);  // -120: 95 dB, 313.5
}

TEST(FrequencyGrid, NineLinesWithMegahertzLabels) {
    const std::vector<app::FrequencyLine> lines = app::frequencyGrid(plot, 27185000, 480000);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0].x, 50);
    EXPECT_EQ(lines[0].labelX, 22);
    EXPECT_EQ(lines[0].label, L"26.945");
    EXPECT_EQ(lines[3].x, 425);
    EXPECT_EQ(lines[4].label, L"27.185");
    EXPECT_EQ(lines[8].x, 1050);
    EXPECT_EQ(lines[8].labelX, 977);  // kept inside the plot
    EXPECT_EQ(lines[8].label, L"27.425");
    EXPECT_EQ(app::frequencyGrid(plot, 7023000, 96000)[1].label, L"6.987");
}

TEST(WaterfallColours, IndexPerTenthOfADecibel) {
    const struct {
        float level;
        int32_t index;
    } cases[] = {
        {-150.0f, 0}, {-200.0f, 0}, {-149.95f, 0}, {-149.9f, 1}, {-100.0f, 500},
        {9.95f, 1599}, {10.0f, 1600}, {40.0f, 1600},
        {-std::numeric_limits<float>::infinity(), 0}, {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(app::colourIndex(c.level), c.index) << c.level;
}

TEST(WaterfallColours, TableFollowsTheColourMap) {
    const app::WaterfallColours table = app::waterfallColourTable(50, 65, 50);
    EXPECT_EQ(table[0], 0x000108u);
    EXPECT_EQ(table[600], 0x000108u);   // -90 dB, the floor
    EXPECT_EQ(table[925], 0x92E487u);   // -57.5 dB, midway
    EXPECT_EQ(table[1250], 0xFFFFFFu);  // -25 dB
    EXPECT_EQ(app::waterfallColourTable(50, 65, 100)[925], 0x00143Fu);
}

TEST(WaterfallImage, ShiftsColumnsAndFillsFromOutside) {
    // Two rows of three columns; entry k of this table is k itself.
    app::WaterfallColours identity{};
    std::iota(identity.begin(), identity.end(), 0u);
    const std::vector<float> history{-150, -149, -148, -100, -50, 10};
    std::vector<uint32_t> pixels{99};
    app::waterfallImage(history, 3, 0, identity, pixels);
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0, 10, 20, 500, 1000, 1600}));
    app::waterfallImage(history, 3, 1, identity, pixels);
    EXPECT_EQ(pixels, (std::vector<uint32_t>{10, 20, 0, 1000, 1600, 0}));
    app::waterfallImage(history, 3, -2, identity, pixels);
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0, 0, 0, 0, 0, 500}));
    app::waterfallImage({}, 3, 0, identity, pixels);
    EXPECT_TRUE(pixels.empty());
}

TEST(WaterfallImage, PanShiftFollowsTheFormCentre) {
    EXPECT_EQ(app::panShift(7004800, 7000000, 1000, 480000), 10);
    EXPECT_EQ(app::panShift(7000000, 7004800, 1000, 480000), -10);
    EXPECT_EQ(app::panShift(7000240, 7000000, 1000, 480000), 1);     // half a column, away from zero
    EXPECT_EQ(app::panShift(6999760, 7000000, 1000, 480000), -1);
    EXPECT_EQ(app::panShift(7000000, 7000000, 1000, 480000), 0);
}

TEST(BackgroundStrip, ReferenceLevelIsAnUpperMedianOfASample) {
    EXPECT_FLOAT_EQ(app::referenceLevel({}), -90.0f);
    EXPECT_FLOAT_EQ(app::referenceLevel({-80, -120, -100, -60}), -80.0f);
    // 300 values: every second one is sampled (300 / 129), 150 in all.
    std::vector<float> history(300);
    std::iota(history.begin(), history.end(), -300.0f);
    EXPECT_FLOAT_EQ(app::referenceLevel(history), -300.0f + 150.0f);
}

TEST(BackgroundStrip, LightFromTopToBottom) {
    EXPECT_EQ(app::backgroundStripLight(0, 170), 100);
    EXPECT_EQ(app::backgroundStripLight(169, 170), 0);
    EXPECT_EQ(app::backgroundStripLight(1, 3), 50);
    EXPECT_EQ(app::backgroundStripLight(0, 1), 100);
}

// Spectra whose bin k holds k, so a value names the bin it came from.
std::vector<float> ramp(size_t bins) {
    std::vector<float> spectrum(bins);
    std::iota(spectrum.begin(), spectrum.end(), 0.0f);
    return spectrum;
}

class ColumnValues : public testing::Test {
protected:
    ColumnValues() {
        frame.narrowSpectrum = ramp(4096);
        frame.wideSpectrum = ramp(4096);
        frame.centred = true;
    }
    hf::Frame frame;
    app::SpectrumView wideView{480000, 7000000, 7000000, 7023000};
    app::SpectrumView narrowView{12000, 7023000, 7023000, 7023000};
};

TEST_F(ColumnValues, WideViewTakesTheLargestBinOfTheColumn) {
    // Column 0 of 1000 covers bins 1024 to 1026.
    EXPECT_FLOAT_EQ(app::displayValue(frame, 0, 1000, wideView, true), 1026.0f);
    EXPECT_FLOAT_EQ(app::displayValue(frame, 500, 1000, wideView, false), 2050.0f);
    frame.wideSpectrum.clear();
    EXPECT_FLOAT_EQ(app::displayValue(frame, 500, 1000, wideView, true), -120.0f);
}

TEST_F(ColumnValues, PanBeyondTheReceivedBandReadsTheFloor) {
    wideView.formCentre = 7300000;
    EXPECT_FLOAT_EQ(app::displayValue(frame, 999, 1000, wideView, true), -150.0f);
    EXPECT_GT(app::displayValue(frame, 999, 1000, wideView, false), 0.0f);
    // The form's centre leads the published one: the column reads further up.
    EXPECT_GT(app::displayValue(frame, 0, 1000, wideView, true),
              app::displayValue(frame, 0, 1000, wideView, false));
}

TEST_F(ColumnValues, NarrowViewNearTheTunedFrequency) {
    // Column 200 of 400 is the tuned frequency: bins 2048 to 2050 of the narrow spectrum.
    frame.wideSpectrum.assign(4096, -50.0f);
    EXPECT_FLOAT_EQ(app::displayValue(frame, 200, 400, narrowView, true), 2050.0f);
    narrowView.frequency = 7023000 + 20000;  // more than 15 kHz away: the wide spectrum
    EXPECT_FLOAT_EQ(app::displayValue(frame, 200, 400, narrowView, true), -50.0f);
    narrowView.frequency = 7023000;
    frame.centred = false;
    EXPECT_FLOAT_EQ(app::displayValue(frame, 200, 400, narrowView, true), -50.0f);
    frame.centred = true;
    narrowView.span = 48000;
    EXPECT_FLOAT_EQ(app::displayValue(frame, 200, 400, narrowView, true), -50.0f);
}

TEST_F(ColumnValues, WaterfallTakesTheMaximumOrInterpolates) {
    // 12 kHz over 400 columns of the narrow spectrum: 2.56 bins per column.
    EXPECT_FLOAT_EQ(app::waterfallValue(frame, 200, 400, narrowView), 2050.0f);
    // Of the wide spectrum: 0.128 bins per column, interpolated.
    narrowView.frequency = 7023000 + 20000;
    EXPECT_NEAR(app::waterfallValue(frame, 200, 400, narrowView), 2048.0f, 1e-3);
    EXPECT_NEAR(app::waterfallValue(frame, 201, 400, narrowView), 2048.128f, 1e-3);
    // 480 kHz on 4096 bins: 2048 columns still cover a bin each, 2049 do not.
    EXPECT_FLOAT_EQ(app::waterfallValue(frame, 0, 2048, wideView), 1025.0f);
    EXPECT_NEAR(app::waterfallValue(frame, 0, 2049, wideView), 1024.0f, 1e-3);
}

TEST_F(ColumnValues, WaterfallFollowsThePublishedCentre) {
    wideView.formCentre = 7300000;
    EXPECT_FLOAT_EQ(app::waterfallValue(frame, 0, 1000, wideView), 1026.0f);
}

TEST_F(ColumnValues, WaterfallDoesNotFallBackFromAnEmptyNarrowSpectrum) {
    frame.narrowSpectrum.clear();
    EXPECT_FLOAT_EQ(app::waterfallValue(frame, 200, 400, narrowView), -150.0f);
    frame.wideSpectrum.clear();
    EXPECT_FLOAT_EQ(app::waterfallValue(frame, 500, 1000, wideView), -150.0f);
}


TEST(SpectrumTrace, RowOfALevel) {
    const int32_t bottom = 44 + plot.spectrumHeight;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float level;
        int32_t top, range, expected;
    } cases[] = {
        {-20, -20, 100, 44},          // the top level on the first row
        {-120, -20, 100, bottom},     // the floor on the last
        {0, -20, 100, 44},            // above the top
        {-200, -20, 100, bottom},     // below the floor
        {nan, -20, 100, bottom},      // no number
        {-70, -20, 100, 44 + plot.spectrumHeight / 2},
        {-20.5f, -20, 0, 44 + plot.spectrumHeight / 2},  // a range of 0 counts as 1 dB
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::traceRow(c.level, c.top, c.range, plot.spectrumHeight), c.expected)
            << c.level << " dB, top " << c.top << ", range " << c.range;
}

TEST(PlotSliders, CaptionsAndWrittenValues) {
    const auto spectrum = app::spectrumSliders(-20, 100);
    EXPECT_STREQ(spectrum[0].caption, L"Décalage");
    EXPECT_EQ(spectrum[0].value, -20);
    EXPECT_STREQ(spectrum[1].caption, L"Échelle");
    EXPECT_EQ(spectrum[1].value, 100);
    const auto waterfall = app::waterfallSliders(50, 65, 40);
    EXPECT_STREQ(waterfall[0].caption, L"Fond");
    EXPECT_EQ(waterfall[0].value, -90);
    EXPECT_STREQ(waterfall[1].caption, L"Plage");
    EXPECT_EQ(waterfall[1].value, 65);
    EXPECT_STREQ(waterfall[2].caption, L"Contr.");
    EXPECT_EQ(waterfall[2].value, 40);
    EXPECT_EQ(app::waterfallSliderTrack(580), 352);
    EXPECT_EQ(app::waterfallSliderTrack(100), 20);
}

// A press on a painted knob or marker, as the mouse reads it, sets a value
// whose knob is drawn where it already was: the painter and the mouse agree on
// where each value sits. Painter and mouse both truncate, so on the
// spectrum's 80-pixel tracks (1.5 dB a pixel) and on the strip a knob may
// step one pixel; on the waterfall's tracks the press reads back the value
// itself.
class KnobPress : public testing::Test {
protected:
    int32_t pressed(int32_t mode, int32_t x, int32_t y) {
        hf::Settings form;
        levels = {};
        app::dragTo(mode, view, app::dragStart(x, y, -20, form), x, y, form, levels);
        return mode == app::dragTopSlider              ? levels.spectrumTop
               : mode == app::dragRangeSlider          ? levels.spectrumRange
               : mode == app::dragWaterfallRangeSlider ? levels.waterfallRange
               : mode == app::dragContrastSlider       ? levels.waterfallContrast
                                                       : levels.waterfallLight;
    }

    const app::DragView view{plot, 480000, static_cast<float>(plot.height)};
    app::DisplayLevels levels;
};

TEST_F(KnobPress, SpectrumSlidersKeepTheirKnobInPlace) {
    const auto knob = [](int32_t top, int32_t range, int k) {
        return plot.columns + 65 + app::knobOffset(app::spectrumSliders(top, range)[k].fraction, 80);
    };
    for (int32_t v = -100; v <= 20; ++v) {
        const int32_t top = pressed(app::dragTopSlider, knob(v, 100, 0), 85);
        EXPECT_LE(std::abs(knob(top, 100, 0) - knob(v, 100, 0)), 1) << "top " << v << " read " << top;
    }
    for (int32_t v = 20; v <= 140; ++v) {
        const int32_t range = pressed(app::dragRangeSlider, knob(-20, v, 1), 143);
        EXPECT_LE(std::abs(knob(-20, range, 1) - knob(-20, v, 1)), 1) << "range " << v << " read " << range;
    }
}

TEST_F(KnobPress, WaterfallSlidersReadTheirOwnValue) {
    const int32_t track = app::waterfallSliderTrack(plot.height);
    const int32_t modes[] = {app::dragLightSlider, app::dragWaterfallRangeSlider, app::dragContrastSlider};
    for (int32_t v = 15; v <= 100; ++v) {
        const auto sliders = app::waterfallSliders(v, v, v);
        for (int k = 0; k < 3; ++k) {
            // The knob spans rows 191 to 198 below its offset; the track starts at 194.
            const int32_t y = app::knobOffset(1.0f - sliders[k].fraction, track) + 194;
            EXPECT_EQ(pressed(modes[k], plot.columns + 70 + 33 * k, y), v) << sliders[k].caption << " at " << v;
        }
    }
}

TEST_F(KnobPress, BackgroundStripMarkerReadsItsOwnLight) {
    const int32_t top = plot.spectrumHeight + 45;
    for (int32_t light = 0; light <= 100; ++light) {
        const int32_t y = app::knobOffset(1.0f - static_cast<float>(light) / 100.0f, plot.waterfallHeight) + top;
        const int32_t read = pressed(app::dragLightStrip, 25, y);
        const int32_t marker = app::knobOffset(1.0f - static_cast<float>(read) / 100.0f, plot.waterfallHeight);
        EXPECT_LE(std::abs(marker - (y - top)), 1) << "light " << light << " read " << read;
    }
}

}  // namespace
