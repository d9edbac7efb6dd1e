#include <gtest/gtest.h>

#include "app/rules/window_rules.h"

namespace {

using app::CaptionAction;
using app::FrameHit;
using app::Point;
using app::Rect;

struct HitCase {
    const char* what;
    bool maximised;
    float scale;
    Point screen;
    FrameHit expected;
};

TEST(FrameHit, ResizeBorderCaptionBandAndButtons) {
    // A 1320 x 740 window at (100, 100): client = screen - (100, 100).
    const Rect window{100, 100, 1420, 840};
    const HitCase cases[] = {
        {"top-left corner", false, 1.0f, {102, 103}, FrameHit::topLeft},
        {"top-right corner", false, 1.0f, {1414, 100}, FrameHit::topRight},
        {"bottom-left corner", false, 1.0f, {105, 834}, FrameHit::bottomLeft},
        {"bottom-right corner", false, 1.0f, {1419, 839}, FrameHit::bottomRight},
        {"left side", false, 1.0f, {100, 400}, FrameHit::left},
        {"right side starts 6 from the edge", false, 1.0f, {1414, 400}, FrameHit::right},
        {"just inside the right side", false, 1.0f, {1413, 400}, FrameHit::client},
        {"top side", false, 1.0f, {600, 105}, FrameHit::top},
        {"bottom side", false, 1.0f, {600, 834}, FrameHit::bottom},
        {"caption band below the border", false, 1.0f, {600, 127}, FrameHit::caption},
        {"below the caption band", false, 1.0f, {600, 128}, FrameHit::client},
        {"last caption pixel before the buttons", false, 1.0f, {1293, 110}, FrameHit::caption},
        {"minimise button is client area", false, 1.0f, {1294, 110}, FrameHit::client},
        {"maximised: no border, the caption rule at once", true, 1.0f, {102, 102}, FrameHit::caption},
        {"maximised: corner over the buttons", true, 1.0f, {1419, 100}, FrameHit::client},
        {"maximised: left of the client area drags", true, 1.0f, {97, 110}, FrameHit::caption},
        {"scale 1.5: border 9 wide", false, 1.5f, {108, 400}, FrameHit::left},
        {"scale 1.5: caption band 42 high", false, 1.5f, {600, 141}, FrameHit::caption},
        {"scale 1.5: below the band", false, 1.5f, {600, 142}, FrameHit::client},
        {"scale 1.5: logical x 1193 still drags", true, 1.5f, {100 + 1790, 110}, FrameHit::caption},
        {"scale 1.5: logical x 1194 is a button", true, 1.5f, {100 + 1791, 110}, FrameHit::client},
    };
    for (const HitCase& c : cases) {
        const Point client{c.screen.x - window.left, c.screen.y - window.top};
        EXPECT_EQ(app::frameHit(c.maximised, c.scale, window, c.screen, client, 1320), c.expected)
            << c.what;
    }
}

TEST(CaptionAction, ButtonsActOnReleaseInTheBand) {
    struct Case {
        Point client;
        float scale;
        CaptionAction expected;
    };
    const Case cases[] = {
        {{1319, 0}, 1.0f, CaptionAction::close},
        {{1278, 27}, 1.0f, CaptionAction::close},
        {{1277, 10}, 1.0f, CaptionAction::toggleMaximised},
        {{1236, 10}, 1.0f, CaptionAction::toggleMaximised},
        {{1235, 10}, 1.0f, CaptionAction::minimise},
        {{1194, 10}, 1.0f, CaptionAction::minimise},
        {{1193, 10}, 1.0f, CaptionAction::none},
        {{1300, 28}, 1.0f, CaptionAction::passOn},
        {{2638, 55}, 2.0f, CaptionAction::close},
        {{2638, 56}, 2.0f, CaptionAction::passOn},
        {{-5, -3}, 1.0f, CaptionAction::none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::captionAction(c.client, c.scale, 1320), c.expected)
            << c.client.x << "," << c.client.y << " at " << c.scale;
}

TEST(WindowSize, ScaledAndClampedToTheWorkArea) {
    EXPECT_EQ(app::windowSize(1.0f, 1280, 720), (Point{1280, 720}));
    EXPECT_EQ(app::windowSize(1.0f, 1920, 1040), (Point{1320, 740}));
    EXPECT_EQ(app::windowSize(1.5f, 2560, 1400), (Point{1980, 1110}));
    EXPECT_EQ(app::windowSize(1.5f, 1920, 1040), (Point{1920, 1040}));
    EXPECT_EQ(app::windowSize(1.25f, 2560, 1400), (Point{1650, 925}));
}

TEST(WindowSize, AnUnreadWorkAreaLimitsNothing) {
    EXPECT_EQ(app::windowSize(1.0f, 0, 0), (Point{1320, 740}));
    EXPECT_EQ(app::windowSize(1.5f, 0, 0), (Point{1980, 1110}));
    EXPECT_EQ(app::windowSize(1.0f, 0, 600), (Point{1320, 600}));
    EXPECT_EQ(app::windowSize(1.0f, 1000, -5), (Point{1000, 740}));
}

TEST(TrackingSizes, SmallestSizeAndMaximisedPlace) {
    const auto onWork = [](Rect work, Rect monitor, float scale) {
        return app::trackingSizes(scale, app::MonitorArea{monitor, work});
    };
    const Rect monitor{0, 0, 1366, 768};
    EXPECT_EQ(onWork({0, 0, 1366, 728}, monitor, 1.0f).minTrack, (Point{1020, 720}));
    EXPECT_EQ(onWork({0, 0, 1366, 700}, monitor, 1.0f).minTrack, (Point{1020, 700}));
    EXPECT_EQ(onWork({0, 0, 1366, 728}, monitor, 1.5f).minTrack, (Point{1366, 728}));

    // A task bar along the top of a second monitor: the window covers the
    // work area, placed relative to the monitor's corner.
    const app::TrackingSizes second = onWork({1920, 40, 3840, 1080}, {1920, 0, 3840, 1080}, 1.0f);
    ASSERT_TRUE(second.maximised.has_value());
    EXPECT_EQ(second.maximised->size, (Point{1920, 1040}));
    EXPECT_EQ(second.maximised->position, (Point{0, 40}));

    const app::TrackingSizes unknown = app::trackingSizes(1.25f, std::nullopt);
    EXPECT_EQ(unknown.minTrack, (Point{1275, 900}));
    EXPECT_FALSE(unknown.maximised.has_value());
}

TEST(SquelchSlider, ValueAndStatusText) {
    EXPECT_EQ(app::squelchFromSlider(0), 0);
    EXPECT_EQ(app::squelchFromSlider(1), 1);
    EXPECT_EQ(app::squelchFromSlider(5), 6);  // 5.5 rounds away from zero
    EXPECT_EQ(app::squelchFromSlider(64), 70);
    EXPECT_EQ(app::squelchFromSlider(100), 110);
    EXPECT_EQ(app::squelchStatus(0), L"Squelch OFF — écoute sans seuil");
    EXPECT_EQ(app::squelchStatus(70), L"Squelch : -40 dBFS");
    EXPECT_EQ(app::squelchStatus(1), L"Squelch : -109 dBFS");
    EXPECT_EQ(app::squelchStatus(110), L"Squelch : 0 dBFS");
}

TEST(ControlLook, OwnerDrawnButtonsAndPlainCheckBoxes) {
    constexpr uint32_t pushButton = 0x0;
    constexpr uint32_t defaultPushButton = 0x1;
    constexpr uint32_t checkBox = 0x2;
    constexpr uint32_t autoCheckBox = 0x3;
    constexpr uint32_t tabStop = 0x00010000;
    EXPECT_EQ(app::controlLook(L"BUTTON", pushButton), app::ControlLook::ownerDrawnButton);
    EXPECT_EQ(app::controlLook(L"BUTTON", defaultPushButton), app::ControlLook::ownerDrawnButton);
    EXPECT_EQ(app::controlLook(L"BUTTON", checkBox), app::ControlLook::ownerDrawnButton);
    EXPECT_EQ(app::controlLook(L"BUTTON", autoCheckBox | tabStop), app::ControlLook::plainCheckBox);
    EXPECT_EQ(app::controlLook(L"button", pushButton), app::ControlLook::darkTheme);
    EXPECT_EQ(app::controlLook(L"COMBOBOX", autoCheckBox), app::ControlLook::darkTheme);
    EXPECT_EQ(app::controlLook(L"EDIT", 0), app::ControlLook::darkTheme);
}

hf::Settings form(int32_t mode, int32_t bandwidth, uint32_t frequency, uint32_t centre) {
    hf::Settings settings;
    settings.Mode = mode;
    settings.Bandwidth = bandwidth;
    settings.Frequency = frequency;
    settings.center = centre;
    return settings;
}

struct CursorCase {
    const char* what;
    hf::Settings settings;
    int32_t span;
    Point at;
    bool shift;
    bool resize;
};

TEST(PlotCursor, EdgesHandlesAndShift) {
    // 1000 columns from x = 50, the view centre at column 550.
    const app::PlotGeometry plot = app::plotGeometry(1160, 580, 1.0f);
    constexpr uint32_t f = 7074000;
    // USB 2700 Hz in the 12 kHz view: edges at 562 and 787, handles at 562 and 787.
    const hf::Settings usb = form(2, 2700, f, f);
    // LSB mirrored: edges at 313 and 538.
    const hf::Settings lsb = form(3, 2700, f, f);
    // AM 400 Hz in the 480 kHz view: both edges in column 550, handles at 538 and 562.
    const hf::Settings narrowAm = form(0, 400, f, f);
    // Tuned 100 kHz below the hardware centre: AM 9 kHz edges at 333 and 352.
    const hf::Settings below = form(0, 9000, 7000000, 7100000);
    // At the right end of the view: edges at 1040 and 1059.
    const hf::Settings rightEnd = form(1, 9000, 7340000, 7100000);
    const CursorCase cases[] = {
        {"USB upper edge", usb, 12000, {787, 200}, false, true},
        {"USB upper edge, 4 columns off", usb, 12000, {791, 200}, false, true},
        {"USB upper edge, 5 columns off", usb, 12000, {792, 200}, false, false},
        {"USB lower edge stays the arrow", usb, 12000, {562, 200}, false, false},
        {"USB lower handle does not count", usb, 12000, {562, 50}, false, false},
        {"USB inside the passband", usb, 12000, {680, 200}, false, false},
        {"USB inside with Shift", usb, 12000, {680, 200}, true, true},
        {"Shift reaches 4 beyond the lower edge", usb, 12000, {558, 200}, true, true},
        {"Shift no further", usb, 12000, {557, 200}, true, false},
        {"LSB lower edge", lsb, 12000, {313, 200}, false, true},
        {"LSB upper edge stays the arrow", lsb, 12000, {538, 200}, false, false},
        {"narrow AM: no edges outside the handle band", narrowAm, 480000, {550, 200}, false, false},
        {"narrow AM: Shift inside", narrowAm, 480000, {550, 200}, true, true},
        {"narrow AM: upper handle", narrowAm, 480000, {562, 50}, false, true},
        {"narrow AM: upper handle reach 7", narrowAm, 480000, {569, 62}, false, true},
        {"narrow AM: upper handle reach 8", narrowAm, 480000, {570, 62}, false, false},
        {"narrow AM: below the handle band", narrowAm, 480000, {562, 63}, false, false},
        {"narrow AM: lower handle at the top of the band", narrowAm, 480000, {538, 44}, false, true},
        {"above the spectrum, even with Shift", narrowAm, 480000, {550, 43}, true, false},
        {"tuned below the centre: lower edge", below, 480000, {333, 300}, false, true},
        {"tuned below the centre: upper edge", below, 480000, {352, 300}, false, true},
        {"last column of the view", rightEnd, 480000, {1050, 200}, true, true},
        {"right of the view", rightEnd, 480000, {1051, 200}, true, false},
        {"no centre: offset 0", form(0, 400, f, 0), 480000, {562, 50}, false, true},
    };
    for (const CursorCase& c : cases)
        EXPECT_EQ(app::resizeCursor(plot, c.at, c.settings, c.span, c.shift), c.resize) << c.what;
}

}  // namespace
