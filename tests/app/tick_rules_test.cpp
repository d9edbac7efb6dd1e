#include "app/rules/reentry_guard.h"
#include "app/rules/tick_rules.h"

#include <gtest/gtest.h>

#include <limits>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(TickFrames, OnlyFramesOfTheSettingsInForceAreShown) {
    EXPECT_TRUE(app::frameShown(true, false, 7, 7));
    EXPECT_FALSE(app::frameShown(true, false, 6, 7));  // sent before a retune
    EXPECT_FALSE(app::frameShown(true, true, 7, 7));   // paused
    EXPECT_FALSE(app::frameShown(false, false, 7, 7)); // left over after a reception
}

TEST(TickSquelch, HoldsThenClosesThenNeedsTheThreshold) {
    // Squelch 30: threshold -80 dBFS, -82 while open.
    struct Step {
        uint64_t now;
        float level;
        bool open;
        uint64_t aboveMs;
    } steps[] = {
        {1000, -81.5f, true, 1000},   // within the hysteresis
        {1100, -82.5f, true, 1000},   // the hold starts
        {1250, -82.5f, true, 1000},
        {1251, -82.5f, false, 1000},  // more than 250 ms after the last level at -82
        {1300, -81.0f, false, 1000},  // closed: -82 no longer opens it
        {1350, -80.0f, true, 1350},
    };
    app::SquelchGate gate{true, 900};
    for (const Step& s : steps) {
        const app::SquelchStep step = app::squelchStep(gate, false, 30, s.level, s.now);
        EXPECT_EQ(step.open, s.open) << s.now;
        EXPECT_EQ(step.gate.open, s.open) << s.now;
        EXPECT_EQ(step.gate.aboveMs, s.aboveMs) << s.now;
        gate = step.gate;
    }
}

TEST(TickSquelch, ScanningInCwStaysOpenAndLeavesTheGate) {
    const app::SquelchStep step = app::squelchStep({false, 5}, true, 30, -150.0f, 100000);
    EXPECT_TRUE(step.open);
    EXPECT_FALSE(step.gate.open);
    EXPECT_EQ(step.gate.aboveMs, 5u);
}

class CwTone : public testing::Test {
protected:
    // 4096 bins over 48 kHz: bin 2048 + k stands for k * 11.71875 Hz.
    std::vector<float> spectrum = std::vector<float>(4096, -160.0f);
    const hf::Passband band = hf::passband(4, 500);  // -250 .. 250
};

TEST_F(CwTone, StrongestInBandBinPlusTheTone) {
    spectrum[2058] = -40.0f;  // 117.1875 Hz
    spectrum[2100] = -30.0f;  // 609 Hz, outside the passband
    EXPECT_FLOAT_EQ(app::cwTone(spectrum, band, 700, 555.0f), 817.1875f);
    spectrum[2040] = -40.0f;  // an equal one lower down comes first
    EXPECT_FLOAT_EQ(app::cwTone(spectrum, band, 700, 555.0f), 606.25f);
}

TEST_F(CwTone, KeepsThePreviousToneWithoutAnInBandBinAboveTheFloor) {
    spectrum[2058] = -150.0f;
    spectrum[2100] = -30.0f;
    EXPECT_FLOAT_EQ(app::cwTone(spectrum, band, 700, 555.0f), 555.0f);
    EXPECT_FLOAT_EQ(app::cwTone({}, band, 700, 555.0f), 555.0f);
}

TEST(TickPresence, SquelchDecidesOnlyWhileScanningOutsideCw) {
    const struct {
        app::PresenceInputs in;
        bool shown;
    } cases[] = {
        {{false, true, false, 30, true}, false},
        {{true, true, false, 30, false}, false},  // scanner hop with the squelch closed
        {{true, true, false, 30, true}, true},
        {{true, true, true, 30, false}, true},    // CW trusts the detector
        {{true, false, false, 30, false}, true},  // not scanning
        {{true, true, false, 0, false}, true},    // squelch off
    };
    for (const auto& c : cases) {
        EXPECT_EQ(app::shownPresence(c.in), c.shown)
            << c.in.detected << c.in.scanning << c.in.cw << c.in.squelch << c.in.squelchOpen;
    }
}

TEST(TickText, KeepsTheNewestUnits) {
    std::wstring text(app::decodedTextLimit - 10, L'a');
    app::appendDecoded(text, std::wstring(30, L'b'));
    EXPECT_EQ(text.size(), app::decodedTextLimit);
    EXPECT_EQ(text.substr(0, app::decodedTextLimit - 30), std::wstring(app::decodedTextLimit - 30, L'a'));
    EXPECT_EQ(text.substr(app::decodedTextLimit - 30), std::wstring(30, L'b'));

    std::wstring shortText = L"CQ ";
    app::appendDecoded(shortText, L"DE F4");
    EXPECT_EQ(shortText, L"CQ DE F4");
}

TEST(TickWaterfall, RefillsOnlyWhenTheSizeChanges) {
    std::vector<float> history;
    int32_t columns = 0;
    int32_t rows = 0;
    EXPECT_TRUE(app::fitWaterfall(history, columns, rows, 3, 2));
    EXPECT_EQ(columns, 3);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(history, std::vector<float>(6, -150.0f));

    history = {1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(app::fitWaterfall(history, columns, rows, 3, 2));
    EXPECT_EQ(history, (std::vector<float>{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(app::fitWaterfall(history, columns, rows, 3, 3));
    EXPECT_EQ(history, std::vector<float>(9, -150.0f));

    history.clear();  // emptied by a span change
    EXPECT_TRUE(app::fitWaterfall(history, columns, rows, 3, 3));
    EXPECT_EQ(history.size(), 9u);
}

TEST(TickWaterfall, ScrollDropsTheOldestRow) {
    std::vector<float> history{1, 2, 3, 4, 5, 6, 7, 8, 9};
    app::scrollWaterfall(history, 3);
    EXPECT_EQ(history, (std::vector<float>{1, 2, 3, 1, 2, 3, 4, 5, 6}));
    std::vector<float> oneRow{1, 2, 3};
    app::scrollWaterfall(oneRow, 3);
    EXPECT_EQ(oneRow, (std::vector<float>{1, 2, 3}));
}

TEST(TickRepaint, LayoutBoxesInWindowPixels) {
    const app::PixelRect scaled = app::windowRect({10, 20, 100, 50}, 1.25f);
    EXPECT_EQ(scaled.left, 13);     // 12.5, to the nearest
    EXPECT_EQ(scaled.top, 60);      // below the caption band
    EXPECT_EQ(scaled.right, 138);
    EXPECT_EQ(scaled.bottom, 123);

    hf::UiLayout layout(1280, 672);
    layout.plot.x = 12;
    layout.cwTop = 500;
    const hf::Box readout = app::cwReadoutBox(layout, 1280);
    EXPECT_EQ(readout, (hf::Box{232, 500, 1038, 23}));
    const app::PixelRect strip = app::windowRect(readout, 1.0f);
    EXPECT_EQ(strip.top, 528);
    EXPECT_EQ(strip.bottom, 551);
    EXPECT_EQ(strip.right, 1270);
}

hf::Settings tuned(uint32_t frequency, int32_t mode, int32_t bandwidth) {
    hf::Settings settings;
    settings.Frequency = frequency;
    settings.Mode = mode;
    settings.Bandwidth = bandwidth;
    return settings;
}

TEST(TickStatus, ListeningToACbChannel) {
    app::StatusInputs in;
    in.dongleName = L"RTL-SDR Blog V4";
    in.form = tuned(27185000, 0, 9000);
    in.snr = 14.6f;
    in.squelch = 30;
    in.squelchOpen = true;
    EXPECT_EQ(app::statusLine(in),
              L"RTL-SDR Blog V4 • AM • local • Canal 19 • SNR estimé 14 dB • SQ -80 dBFS ouvert");
}

// No readout that is not a finite number reaches the status line.
TEST(TickStatus, ReadoutsThatAreNoNumberShowZero) {
    app::StatusInputs in;
    in.dongleName = L"RTL-SDR Blog V4";
    in.form = tuned(27185000, 0, 9000);
    in.squelch = 30;
    in.squelchOpen = true;
    for (float snr : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()}) {
        in.snr = snr;
        EXPECT_EQ(app::statusLine(in),
                  L"RTL-SDR Blog V4 • AM • local • Canal 19 • SNR estimé 0 dB • SQ -80 dBFS ouvert")
            << snr;
    }
}

TEST(TickStatus, ScanningInCwWithEveryPiece) {
    app::StatusInputs in;
    in.dongleName = L"Clé RTL-SDR";
    in.form = tuned(7023000, 4, 500);
    in.frameWpm = 22.7;
    in.scanning = true;
    in.rangeSelection = 1;
    in.scanIndex = 2;
    in.scanCount = 121;
    in.scanStep = 500;
    in.signalPresent = true;
    in.snr = 9.9f;
    in.tone = 712.9f;
    in.underruns = 3;
    in.lostBlocks = 2;
    EXPECT_EQ(app::statusLine(in),
              L"Clé RTL-SDR • CW • local • CW 22 mots/min • SCAN AUTO — pause signal (15 s max) 3/121"
              L" • filtre 500 Hz • pas scan 500 Hz • SNR estimé 9 dB • Ton détecté 712 Hz • SQ OFF"
              L" • reprises audio : 3 • blocs audio perdus : 2");
}

TEST(TickStatus, ContinuousCbScanOutOfSpan) {
    app::StatusInputs in;
    in.dongleName = L"Clé RTL-SDR";
    in.form = tuned(27185000, 0, 9000);
    in.scanning = true;
    in.continuousScan = true;
    in.rangeSelection = 0;
    in.scanCount = 120;
    in.scanStep = 10000;
    in.outOfSpan = true;
    in.snr = -3.7f;
    in.squelch = 40;
    in.squelchOpen = false;
    EXPECT_EQ(app::statusLine(in),
              L"Clé RTL-SDR • AM • local • Canal 19 • SCAN CONTINU 1/120 • Accord hors champ : "
              L"double-cliquer un signal pour écouter • filtre 9000 Hz • table CB • SNR estimé -3 dB"
              L" • SQ -70 dBFS fermé");
}

TEST(TickStatus, SearchingWithoutAScanStep) {
    app::StatusInputs in;
    in.dongleName = L"Clé RTL-SDR";
    in.form = tuned(7100000, 2, 2700);
    in.scanning = true;
    in.rangeSelection = 3;
    in.scanCount = 1;
    in.tone = 700.0f;  // not shown outside CW
    in.signalPresent = true;
    EXPECT_EQ(app::statusLine(in),
              L"Clé RTL-SDR • USB • local • SCAN AUTO — pause signal (15 s max) 1/1 • filtre 2700 Hz"
              L" • SNR estimé 0 dB • SQ OFF");
    in.signalPresent = false;
    in.form.Mode = 4;  // CW without a signal: no tone either
    EXPECT_EQ(app::statusLine(in),
              L"Clé RTL-SDR • CW • local • CW 0 mots/min • SCAN AUTO — recherche 1/1 • filtre 2700 Hz"
              L" • SNR estimé 0 dB • SQ OFF");
}

TEST(TickWatchdog, FiresAfterTenSecondsWithoutFrames) {
    EXPECT_FALSE(app::watchdogDue(true, false, 20000, 10000));
    EXPECT_TRUE(app::watchdogDue(true, false, 20001, 10000));
    EXPECT_FALSE(app::watchdogDue(true, true, 20001, 10000));   // already stopping
    EXPECT_FALSE(app::watchdogDue(false, false, 20001, 10000));
    EXPECT_FALSE(app::watchdogDue(true, false, 5000, 10000));   // base later than the clock
}

TEST(ReentryGuard, ANestedCallDoesNotEnter) {
    bool busy = false;
    {
        const app::ReentryGuard outer(busy);
        EXPECT_TRUE(outer.entered());
        EXPECT_TRUE(busy);
        {
            const app::ReentryGuard nested(busy);
            EXPECT_FALSE(nested.entered());
        }
        EXPECT_TRUE(busy);  // the nested call must not free the outer one
    }
    EXPECT_FALSE(busy);
}

TEST(ReentryGuard, FreedWhenTheCallThrows) {
    bool busy = false;
    try {
        const app::ReentryGuard guard(busy);
        throw std::runtime_error("Réglage à corriger");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(busy);
    EXPECT_TRUE(app::ReentryGuard(busy).entered());
}

}  // namespace
