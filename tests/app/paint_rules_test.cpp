#include "app/rules/button_palette.h"
#include "app/rules/meter_rules.h"
#include "app/rules/paint_texts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using app::Colour;
using app::Palette;

constexpr Colour top{7, 48, 72};
constexpr Colour bottom{2, 20, 37};

TEST(FaceRows, GradientGlossAndPressedReversal) {
    struct Case {
        const char* what;
        int32_t row, height;
        bool pressed;
        Colour expected;
    };
    const Case cases[] = {
        {"a one-row face uses f = 0 with the gloss", 0, 1, false, {16, 58, 82}},
        {"a degenerate height is no division by zero", 0, 0, false, {16, 58, 82}},
        {"gloss band near the top", 2, 10, false, {22, 62, 84}},
        {"the gloss has faded at the bottom", 9, 10, false, bottom},
        {"pressed starts from the bottom colour", 0, 10, true, bottom},
        {"pressed ends on the top colour", 9, 10, true, top},
        {"pressed rows carry no gloss", 2, 10, true, {3, 26, 44}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::faceRowColour(top, bottom, c.row, c.height, c.pressed), c.expected) << c.what;
}

const Colour white{242, 251, 255};
const Palette normal{white, {7, 48, 72}, {2, 20, 37}, {15, 187, 238}};
const Palette active{white, {5, 63, 34}, {2, 28, 20}, {63, 243, 105}};
const Palette amber{white, {44, 42, 17}, {15, 25, 27}, {255, 205, 25}};
const Palette pause{{255, 226, 83}, {44, 42, 17}, {15, 25, 27}, {255, 205, 25}};
const Palette cyan{white, {13, 86, 85}, {2, 29, 36}, {27, 216, 218}};
const Palette red{white, {51, 25, 34}, {25, 17, 28}, {248, 88, 96}};
const Palette disabled{{166, 192, 208}, {23, 46, 62}, {8, 21, 34}, {62, 104, 126}};

app::ButtonState state(auto change) {
    app::ButtonState s;
    s.modeSelection = 4;
    s.stepSelection = 2;
    s.spanSelection = 3;
    s.rangeSelection = 0;
    s.dwellMs = 2000;
    s.bandwidth = 500;
    change(s);
    return s;
}

struct PaletteCase {
    const char* what;
    int id;
    bool disabled;
    app::ButtonState state;
    Palette expected;
};

TEST(ButtonPalette, StateButtons) {
    const auto same = [](app::ButtonState&) {};
    const auto receiving = [](app::ButtonState& s) { s.running = true; };
    const PaletteCase cases[] = {
        {"start enabled", 100, false, state(same), active},
        {"start disabled during reception", 100, true, state(receiving), active},
        {"start disabled otherwise", 100, true, state(same), disabled},
        {"apply", 102, false, state(same), cyan},
        {"stop", 129, false, state(receiving), red},
        {"stop disabled", 129, true, state(same), disabled},
        {"scan stop", 139, false, state(same), red},
        {"scan start idle", 134, false, state(same), normal},
        {"scan start scanning", 134, false, state([](auto& s) { s.radioScanning = true; }), active},
        {"pause has amber text", 137, false, state(same), pause},
        {"mute off", 138, false, state(same), normal},
        {"mute on keeps white text", 138, false, state([](auto& s) { s.muted = true; }), amber},
        {"any other button", 116, false, state(same), normal},
    };
    for (const PaletteCase& c : cases)
        EXPECT_EQ(app::buttonPalette(c.id, c.disabled, c.state), c.expected) << c.what;
}

TEST(ButtonPalette, RowsFollowTheHiddenCombosAndValues) {
    const auto range = [](int selection) { return state([=](auto& s) { s.rangeSelection = selection; }); };
    const auto typed = [](int mode, std::optional<int32_t> bandwidth) {
        return state([=](auto& s) {
            s.modeSelection = mode;
            s.bandwidth = bandwidth;
        });
    };
    const auto same = [](app::ButtonState&) {};
    const PaletteCase cases[] = {
        {"mode CW lit", 304, false, state(same), active},
        {"other mode dark", 302, false, state(same), normal},
        {"a disabled row button is disabled though chosen", 304, true, state(same), disabled},
        {"no mode button beyond the row", 305, false, typed(5, 500), normal},
        {"step 100", 322, false, state(same), active},
        {"step 10000", 326, false, state([](auto& s) { s.stepSelection = 6; }), active},
        {"span 480 k", 343, false, state(same), active},
        {"span 12 k", 340, false, state(same), normal},
        {"HF for the custom range", 360, false, range(3), active},
        {"CW for CW 7 MHz", 361, false, range(1), active},
        {"CW for HF from 3 MHz", 361, false, range(2), active},
        {"CB for the full CB", 362, false, range(0), active},
        {"CB for the 40 channels", 362, false, range(7), active},
        {"no CB for 6 m", 362, false, range(5), normal},
        {"favourites", 363, false, range(4), active},
        {"nothing for no selection", 362, false, range(-1), normal},
        {"dwell 2 s", 381, false, state(same), active},
        {"dwell 1 s dark", 380, false, state(same), normal},
        {"dwell 5 s", 383, false, state([](auto& s) { s.dwellMs = 5000; }), active},
        {"dwell off the table lights none", 382, false, state([](auto& s) { s.dwellMs = 2500; }), normal},
        {"2700 typed in USB", 401, false, typed(2, 2700), active},
        {"2700 typed in LSB", 401, false, typed(3, 2700), active},
        {"500 in CW", 401, false, typed(4, 500), active},
        {"2700 in CW is no preset", 401, false, typed(4, 2700), normal},
        {"2600 lights none (400)", 400, false, typed(2, 2600), normal},
        {"2600 lights none (401)", 401, false, typed(2, 2600), normal},
        {"2600 lights none (402)", 402, false, typed(2, 2600), normal},
        {"text that is no number", 401, false, typed(2, std::nullopt), normal},
    };
    for (const PaletteCase& c : cases)
        EXPECT_EQ(app::buttonPalette(c.id, c.disabled, c.state), c.expected) << c.what;
}

TEST(ButtonPalette, FormBandwidthIsReadAsTheFormReaderDoes) {
    EXPECT_EQ(app::formBandwidth(L"2700"), 2700);
    EXPECT_EQ(app::formBandwidth(L" 500"), 500);
    EXPECT_EQ(app::formBandwidth(L"-5"), -5);
    for (const wchar_t* text : {L"", L"2700 ", L"27x", L"abc", L"99999999999"})
        EXPECT_EQ(app::formBandwidth(text), std::nullopt) << std::wstring(text).size();
}

TEST(SMeter, LitSegments) {
    struct Case {
        bool running, paused;
        float level;
        int lit;
    };
    const Case cases[] = {
        {true, false, -120.0f, 0}, {true, false, -110.0f, 0}, {true, false, -65.0f, 10},
        {true, false, -47.5f, 13},  {true, false, -20.5f, 19}, {true, false, -20.0f, 20},
        {true, false, -3.0f, 20},   {true, true, -20.0f, 0},   {false, false, -20.0f, 0},
        {true, false, std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::litSegments(c.running, c.paused, c.level), c.lit) << c.level << " " << c.paused;
}

TEST(SMeter, Readout) {
    EXPECT_EQ(app::meterReadout(true, false, -47.5f), L"-48 dBFS");
    EXPECT_EQ(app::meterReadout(true, false, -65.4f), L"-65 dBFS");
    EXPECT_EQ(app::meterReadout(true, true, -47.5f), L"— dBFS");
    EXPECT_EQ(app::meterReadout(false, false, -47.5f), L"— dBFS");
}

// The layout's info box of a 1320-wide window, and of a compact one.
const hf::Box fullInfo{816, 8, 230, 78};
const hf::Box compactInfo{460, -24, 275, 24};

TEST(SMeter, TheTwoForms) {
    const app::MeterGeometry full = app::meterGeometry(fullInfo, false);
    EXPECT_TRUE(full.full);
    EXPECT_EQ(full.x0, 830);
    EXPECT_EQ(full.length, 202);
    EXPECT_EQ(full.baseline, 64);
    EXPECT_EQ(full.arc, 200);
    EXPECT_EQ(full.readout, (app::Rect{816, 66, 1046, 85}));
    const app::MeterGeometry compact = app::meterGeometry(compactInfo, true);
    EXPECT_FALSE(compact.full);
    EXPECT_EQ(compact.x0, 638);
    EXPECT_EQ(compact.length, 90);
    EXPECT_EQ(compact.baseline, -3);
    EXPECT_EQ(compact.arc, 88);
    EXPECT_EQ(compact.readout, (app::Rect{535, -20, 636, 0}));
    EXPECT_EQ(app::meterGeometry({0, 0, 20, 78}, false).arc, 1);
}

TEST(SMeter, SegmentsRiseAlongAQuarterSine) {
    using P = std::array<app::Point, 4>;
    const app::MeterGeometry full = app::meterGeometry(fullInfo, false);
    EXPECT_EQ(app::meterSegment(full, 0), (P{{{830, 58}, {838, 57}, {838, 64}, {830, 64}}}));
    EXPECT_EQ(app::meterSegment(full, 19), (P{{{1021, 41}, {1030, 41}, {1030, 60}, {1021, 60}}}));
    const app::MeterGeometry compact = app::meterGeometry(compactInfo, true);
    EXPECT_EQ(app::meterSegment(compact, 19), (P{{{723, -17}, {726, -17}, {726, -5}, {723, -5}}}));
    // A box narrower than its margins: the row runs backwards, the divisions
    // truncate toward zero and the rise stays clamped at the baseline.
    const app::MeterGeometry narrow = app::meterGeometry({0, 0, 20, 78}, false);
    EXPECT_EQ(app::meterSegment(narrow, 19), (P{{{7, 50}, {4, 50}, {4, 56}, {7, 56}}}));
}

TEST(SMeter, ColoursAndScaleLabels) {
    EXPECT_EQ(app::segmentColour(0), (Colour{44, 218, 240}));
    EXPECT_EQ(app::segmentColour(4), (Colour{55, 235, 119}));
    EXPECT_EQ(app::segmentColour(19), (Colour{255, 57, 48}));
    EXPECT_EQ(app::unlitSegmentColour({44, 218, 240}), (Colour{12, 60, 74}));
    EXPECT_EQ(app::litEdgeColour({255, 57, 48}), (Colour{249, 126, 120}));
    const app::MeterGeometry full = app::meterGeometry(fullInfo, false);
    EXPECT_EQ(app::scaleLabelBox(full, -20), (app::Rect{1015, 27, 1047, 41}));
    EXPECT_EQ(app::scaleLabelBox(full, -100), (app::Rect{836, 41, 868, 55}));
}

TEST(PaintTexts, SliderValues) {
    EXPECT_EQ(app::squelchValueText(0), L"OFF");
    EXPECT_EQ(app::squelchValueText(55), L"50 %");
    EXPECT_EQ(app::squelchValueText(6), L"5 %");
    EXPECT_EQ(app::squelchValueText(110), L"100 %");
    EXPECT_EQ(app::volumeValueText(0.65f), L"65 %");
    EXPECT_EQ(app::volumeValueText(0.0f), L"0 %");
    EXPECT_EQ(app::volumeValueText(1.0f), L"100 %");
}

TEST(PaintTexts, InformationLine) {
    EXPECT_EQ(app::informationLine(12.9f, 2, true, 700.0f, 18.0f), L"SNR estimé : 12 dB");
    EXPECT_EQ(app::informationLine(-3.7f, 0, false, 0.0f, 18.0f), L"SNR estimé : -3 dB");
    EXPECT_EQ(app::informationLine(12.9f, 4, true, 701.8f, 22.6f),
              L"SNR estimé : 12 dB • Ton : 701 Hz • 22 mots/min");
    EXPECT_EQ(app::informationLine(12.9f, 4, false, 701.8f, 22.6f),
              L"SNR estimé : 12 dB • Ton : — • 22 mots/min");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(app::informationLine(nan, 2, false, 0.0f, 0.0f), L"SNR estimé : 0 dB");
    EXPECT_EQ(app::informationLine(-inf, 2, false, 0.0f, 0.0f), L"SNR estimé : -2147483520 dB");
}

TEST(PaintTexts, CaptionsDongleAndLitState) {
    for (const wchar_t* shallow : {L"FILTRE AUDIO", L"SCANNER", L"AFFICHAGE SPECTRE", L"SPECTRE"})
        EXPECT_EQ(app::captionOffset(shallow), 3);
    for (const wchar_t* deep : {L"SOURCE RADIO", L"MODE", L"DÉCODEUR CW LOCAL"})
        EXPECT_EQ(app::captionOffset(deep), 6);
    EXPECT_EQ(app::dongleSerialText(L""), L"Non sélectionnée");
    EXPECT_EQ(app::dongleSerialText(L"00000001"), L"00000001");
    EXPECT_EQ(std::wstring(app::dongleChoiceText(1)), L"Mémorisée");
    EXPECT_EQ(std::wstring(app::dongleChoiceText(0)), L"À choisir");
    EXPECT_EQ(std::wstring(app::dongleChoiceText(-1)), L"À choisir");
    EXPECT_EQ(std::wstring(app::maximiseSign(true)), L"❐");
    EXPECT_EQ(std::wstring(app::maximiseSign(false)), L"□");
    EXPECT_TRUE(app::frequencyLit(true, false, true));
    EXPECT_FALSE(app::frequencyLit(true, true, true));
    EXPECT_FALSE(app::frequencyLit(true, false, false));
    EXPECT_FALSE(app::frequencyLit(false, false, true));
}

}  // namespace
