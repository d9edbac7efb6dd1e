#include "app/rules/scan_rules.h"

#include "thrown.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

namespace {

using app_test::thrownMessage;

// The two range fields as the scanner reads them, through the real reader.
std::function<uint32_t(int)> fields(const std::wstring& start, const std::wstring& end) {
    return [=](int id) {
        if (id == app::rangeStartField) return app::scanLimit(start);
        if (id == app::rangeEndField) return app::scanLimit(end);
        ADD_FAILURE() << "read of control " << id;
        return 0u;
    };
}

std::function<uint32_t(int)> noFields() {
    return [](int id) {
        ADD_FAILURE() << "a list that needs no range read control " << id;
        return 0u;
    };
}

hf::Settings formWithStep(int32_t step) {
    hf::Settings form;
    form.Step = step;
    form.PPM = 17;
    form.Gain = 440;
    form.Tone = 650;
    form.center = 7050000;
    return form;
}

TEST(ScanLimits, ReadsMegahertzWithAPointOrAComma) {
    EXPECT_EQ(app::scanLimit(L"7.05"), 7050000u);
    EXPECT_EQ(app::scanLimit(L"7,05"), 7050000u);
    EXPECT_EQ(app::scanLimit(L"0.5"), 500000u);
    EXPECT_EQ(app::scanLimit(L"52"), 52000000u);
    EXPECT_EQ(app::scanLimit(L"27.4050004"), 27405000u);
}

TEST(ScanLimits, RefusesWhatIsNoLimit) {
    const std::string limits = "Limites du scan : 0,5 a 52 MHz.";
    for (const wchar_t* text : {L"60", L"0.4", L"-7", L"7.0 ", L"7 MHz", L"inf", L"nan"})
        EXPECT_EQ(thrownMessage([&] { app::scanLimit(text); }), limits) << text;
    EXPECT_EQ(thrownMessage([] { app::scanLimit(L""); }), "stod");
    EXPECT_EQ(thrownMessage([] { app::scanLimit(L"abc"); }), "stod");
}

TEST(ScanLists, PresetRangesHoldEveryStepUpToTheEnd) {
    const hf::Settings form = formWithStep(10);
    const auto cw = app::scanEntries(1, form, fields(L"7.000", L"7.060"), {});
    ASSERT_EQ(cw.size(), 601u);
    EXPECT_EQ(cw.front().Frequency, 7000000u);
    EXPECT_EQ(cw[1].Frequency, 7000100u);
    EXPECT_EQ(cw.back().Frequency, 7060000u);
    EXPECT_EQ(cw.front().Mode, 4);
    EXPECT_EQ(cw.front().Bandwidth, 500);
    EXPECT_EQ(cw.front().Step, 100);
    EXPECT_TRUE(cw.front().Decode);

    const auto hf = app::scanEntries(2, form, fields(L"3.000", L"3.800"), {});
    ASSERT_EQ(hf.size(), 801u);
    EXPECT_EQ(hf.back().Frequency, 3800000u);
    EXPECT_EQ(hf.front().Mode, 3);
    EXPECT_EQ(hf.front().Bandwidth, 2700);
    EXPECT_EQ(hf.front().Step, 1000);
    EXPECT_FALSE(hf.front().Decode);

    const auto six = app::scanEntries(5, form, fields(L"50.000", L"52.000"), {});
    ASSERT_EQ(six.size(), 2001u);
    EXPECT_EQ(six.front().Mode, 2);
    EXPECT_EQ(six.front().Step, 1000);
    // The rest of the form stays, the centre included.
    EXPECT_EQ(six.front().PPM, 17);
    EXPECT_EQ(six.front().Gain, 440);
    EXPECT_EQ(six.front().Tone, 650);
    EXPECT_EQ(six.front().center, 7050000u);
}

TEST(ScanLists, CustomRangeUsesTheFormAndItsStep) {
    const hf::Settings form = formWithStep(1000);
    const auto whole = app::scanEntries(3, form, fields(L"0.5", L"52"), {});
    ASSERT_EQ(whole.size(), 51501u);
    EXPECT_EQ(whole.back().Frequency, 52000000u);
    hf::Settings first = form;
    first.Frequency = 500000;
    EXPECT_EQ(whole.front(), first);

    EXPECT_EQ(app::scanEntries(3, form, fields(L"7.0", L"7.0"), {}).size(), 1u);
    // The last entry is the last step not above the end.
    const auto partial = app::scanEntries(3, form, fields(L"7.0", L"7.0025"), {});
    ASSERT_EQ(partial.size(), 3u);
    EXPECT_EQ(partial.back().Frequency, 7002000u);
}

TEST(ScanLists, RangeRefusals) {
    const std::string tooLarge =
        "Plage trop grande pour ce pas : augmentez le pas ou reduisez la plage.";
    for (int32_t step : {10, 50, 100, 500})
        EXPECT_EQ(thrownMessage([&] {
                      app::scanEntries(3, formWithStep(step), fields(L"0.5", L"52"), {});
                  }),
                  tooLarge)
            << step;
    EXPECT_EQ(thrownMessage([] {
                  app::scanEntries(3, formWithStep(0), fields(L"7.0", L"7.1"), {});
              }),
              tooLarge);
    EXPECT_EQ(thrownMessage([] {
                  app::scanEntries(3, formWithStep(100), fields(L"7.1", L"7.0"), {});
              }),
              "Le debut du scan doit preceder la fin.");
    EXPECT_EQ(thrownMessage([] {
                  app::scanEntries(1, formWithStep(100), fields(L"60", L"7.0"), {});
              }),
              "Limites du scan : 0,5 a 52 MHz.");
}

TEST(ScanLists, CbBandsAndFavouritesReadNoFields) {
    const hf::Settings form = formWithStep(100);
    const auto full = app::scanEntries(0, form, noFields(), {});
    ASSERT_EQ(full.size(), 200u);
    EXPECT_EQ(full.front().Step, 10000);
    EXPECT_FALSE(full.front().Decode);
    EXPECT_EQ(full.front().PPM, 17);

    struct Case {
        int item;
        std::size_t size;
        uint32_t first, last;
        int32_t mode;
    };
    for (const Case c : {Case{6, 80, 26515000, 26955000, 0}, Case{7, 80, 26965000, 27405000, 0},
                         Case{8, 40, 27415000, 27855000, 2}}) {
        const auto band = app::scanEntries(c.item, form, noFields(), {});
        ASSERT_EQ(band.size(), c.size) << c.item;
        EXPECT_EQ(band.front().Frequency, c.first) << c.item;
        EXPECT_EQ(band.back().Frequency, c.last) << c.item;
        EXPECT_EQ(band.front().Mode, c.mode) << c.item;
        EXPECT_EQ(band.front().Step, 10000) << c.item;
        EXPECT_FALSE(band.front().Decode) << c.item;
    }

    const auto favorites = app::builtInFavorites();
    const auto listed = app::scanEntries(4, form, noFields(), favorites);
    ASSERT_EQ(listed.size(), favorites.size());
    for (std::size_t i = 0; i < listed.size(); ++i) EXPECT_EQ(listed[i], favorites[i].second);

    EXPECT_TRUE(app::scanEntries(-1, form, noFields(), favorites).empty());
}

TEST(ScanLists, AnEntryKeepsTheFormsStepAndCentreButTheFirst) {
    hf::Settings entry;
    entry.Frequency = 27185000;
    entry.Mode = 0;
    entry.Bandwidth = 9000;
    entry.Step = 10000;
    entry.center = 27000000;
    hf::Settings form = formWithStep(100);
    form.center = 27205000;
    const hf::Settings first = app::scanEntryForm(entry, 0, form);
    EXPECT_EQ(first.center, 0u);
    EXPECT_EQ(first.Step, 100);
    EXPECT_EQ(first.Frequency, 27185000u);
    EXPECT_EQ(first.Bandwidth, 9000);
    const hf::Settings later = app::scanEntryForm(entry, 7, form);
    EXPECT_EQ(later.center, 27205000u);
    EXPECT_EQ(later.Step, 100);
    EXPECT_EQ(later.Frequency, 27185000u);
}

TEST(ScanLists, SpanByRange) {
    EXPECT_EQ(app::scanSpan(1), 96000);
    EXPECT_FALSE(app::scanSpan(3));
    EXPECT_FALSE(app::scanSpan(4));
    for (int item : {0, 2, 5, 6, 7, 8}) EXPECT_EQ(app::scanSpan(item), 480000) << item;
}

TEST(DwellMode, TimedInContinuousAndBehindAClosedSquelch) {
    struct Case {
        int dwellMode;
        int32_t mode, squelch;
        bool squelchOpen, timed;
    };
    for (const Case c : {Case{1, 4, 0, true, true}, Case{0, 0, 0, true, false},
                         Case{0, 0, 30, false, true}, Case{0, 0, 30, true, false},
                         Case{0, 4, 30, false, false}, Case{-1, 2, 30, false, true}})
        EXPECT_EQ(app::timedDwell(c.dwellMode, c.mode, c.squelch, c.squelchOpen), c.timed)
            << c.dwellMode << " " << c.mode << " " << c.squelch << " " << c.squelchOpen;
}

// Frames of the entry's generation every `intervalMs`, with a signal while
// `signal(t)` holds (t from the first frame); the time of the hop from the
// first frame, and the number of frames that saw it.
struct Hop {
    uint64_t atMs;
    int frame;
};
constexpr uint64_t clockStart = 3600000;

std::optional<Hop> run(bool timed, int32_t dwellMs, uint64_t intervalMs,
                       const std::function<bool(uint64_t)>& signal) {
    app::DwellState state{7, 0, 0, 0};
    for (int n = 1; n <= 1000; ++n) {
        const uint64_t t = (n - 1) * intervalMs;
        const app::DwellFrame frame{7, signal(t), clockStart + t};
        if (app::dwellStep(state, frame, timed, dwellMs) == app::DwellAction::hop)
            return Hop{t, n};
    }
    return std::nullopt;
}

TEST(DwellSteps, SignalDrivenHops) {
    const auto never = [](uint64_t) { return false; };
    const auto always = [](uint64_t) { return true; };

    auto quiet = run(false, 2000, 83, never);
    ASSERT_TRUE(quiet);
    EXPECT_EQ(quiet->atMs, 2075u);  // first frame at or after 2000 ms

    auto held = run(false, 2000, 83, always);
    ASSERT_TRUE(held);
    EXPECT_GE(held->atMs, 17000u);
    EXPECT_LT(held->atMs, 17083u);

    auto lost = run(false, 2000, 100, [](uint64_t t) { return t <= 5000; });
    ASSERT_TRUE(lost);
    EXPECT_EQ(lost->atMs, 7000u);

    // A signal that ended long before the dwell time does not prolong it.
    auto brief = run(false, 3000, 100, [](uint64_t t) { return t <= 200; });
    ASSERT_TRUE(brief);
    EXPECT_EQ(brief->atMs, 3000u);
}

TEST(DwellSteps, NeverBeforeTheSixthCountedFrame) {
    auto slow = run(false, 1000, 500, [](uint64_t) { return false; });
    ASSERT_TRUE(slow);
    EXPECT_EQ(slow->frame, 6);
    EXPECT_EQ(slow->atMs, 2500u);
}

TEST(DwellSteps, TimedHopsAtTheDwellSignalOrNot) {
    auto timed = run(true, 2000, 100, [](uint64_t) { return true; });
    ASSERT_TRUE(timed);
    EXPECT_EQ(timed->atMs, 2000u);
}

TEST(DwellSteps, FramesOfAnotherGenerationCountForNothing) {
    app::DwellState state{8, 0, 0, 0};
    EXPECT_EQ(app::dwellStep(state, {7, true, clockStart}, false, 2000), app::DwellAction::none);
    EXPECT_EQ(state.frames, 0);
    EXPECT_EQ(state.dwellStartMs, 0u);

    EXPECT_EQ(app::dwellStep(state, {8, false, clockStart + 100}, false, 2000),
              app::DwellAction::caption);
    EXPECT_EQ(state.dwellStartMs, clockStart + 100);
    // Once counting has begun, a stray frame only refreshes the countdown.
    EXPECT_EQ(app::dwellStep(state, {7, true, clockStart + 90000}, true, 2000),
              app::DwellAction::caption);
    EXPECT_EQ(state.frames, 1);
    EXPECT_EQ(state.lastSignalMs, 0u);
}

TEST(DwellCaptions, CountdownToTheDeadlineOfTheState) {
    const uint64_t start = clockStart;
    const app::DwellState searching{1, 6, start, 0};
    EXPECT_EQ(app::dwellCaption(searching, false, false, start, 2000), L"Recherche 2 s");
    EXPECT_EQ(app::dwellCaption(searching, false, false, start + 1, 2000), L"Recherche 2 s");
    EXPECT_EQ(app::dwellCaption(searching, false, false, start + 1000, 2000), L"Recherche 1 s");
    EXPECT_EQ(app::dwellCaption(searching, false, false, start + 1999, 2000), L"Recherche 1 s");
    EXPECT_EQ(app::dwellCaption(searching, false, false, start + 2500, 2000), L"Recherche 0 s");

    EXPECT_EQ(app::dwellCaption(searching, false, true, start + 500, 2000), L"Écoute 17 s");
    // Timed dwell knows no signal.
    EXPECT_EQ(app::dwellCaption(searching, true, true, start + 500, 2000), L"Recherche 2 s");

    // "Reprise": 2 s after the last signal, not before the dwell time, not after the cap.
    const app::DwellState early{1, 9, start, start + 100};
    EXPECT_EQ(app::dwellCaption(early, false, false, start + 500, 3000), L"Reprise 3 s");
    const app::DwellState late{1, 90, start, start + 6000};
    EXPECT_EQ(app::dwellCaption(late, false, false, start + 6500, 3000), L"Reprise 2 s");
    const app::DwellState atCap{1, 200, start, start + 17500};
    EXPECT_EQ(app::dwellCaption(atCap, false, false, start + 17600, 3000), L"Reprise 1 s");
    EXPECT_EQ(app::dwellCaption(late, true, false, start + 6500, 3000), L"Recherche 0 s");
}

}  // namespace
