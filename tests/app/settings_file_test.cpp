#include "app/rules/settings_file.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

app::IniSection sectionOf(const std::vector<app::IniEntry>& entries) {
    app::IniSection section;
    for (const app::IniEntry& e : entries)
        if (e.value) section[e.key] = *e.value;
    return section;
}

std::vector<std::string> keysOf(const std::vector<app::IniEntry>& entries) {
    std::vector<std::string> keys;
    for (const app::IniEntry& e : entries) keys.push_back(e.key);
    return keys;
}

// hf::Device has no equality of its own: its identity rule ignores the index.
void expectSame(const app::StoredSettings& a, const app::StoredSettings& b) {
    EXPECT_EQ(a.radio, b.radio);
    EXPECT_EQ(a.dongle.index, b.dongle.index);
    EXPECT_TRUE(hf::sameDongle(a.dongle, b.dongle));
    EXPECT_EQ(a.volume, b.volume);
    EXPECT_EQ(a.squelch, b.squelch);
    EXPECT_EQ(a.scanDwellMs, b.scanDwellMs);
    EXPECT_EQ(a.audioName, b.audioName);
    EXPECT_EQ(a.spectrumSpan, b.spectrumSpan);
    EXPECT_EQ(a.spectrumTop, b.spectrumTop);
    EXPECT_EQ(a.spectrumRange, b.spectrumRange);
    EXPECT_EQ(a.waterfallRange, b.waterfallRange);
    EXPECT_EQ(a.waterfallContrast, b.waterfallContrast);
    EXPECT_EQ(a.waterfallLight, b.waterfallLight);
}

std::string valueOf(const std::vector<app::IniEntry>& entries, const std::string& key) {
    for (const app::IniEntry& e : entries)
        if (e.key == key) return e.value.value_or("(removed)");
    return "(absent)";
}

TEST(RadioSection, AnEmptySectionLoadsTheDefaults) {
    const app::StoredSettings s = app::readRadioSection({});
    app::StoredSettings expected;
    expected.radio.Step = 10;  // the CW default of the file
    expectSame(s, expected);
    EXPECT_EQ(s.dongle.manufacturer, "RTLSDRBlog");
    EXPECT_EQ(s.dongle.product, "Blog V4");
    EXPECT_EQ(s.dongle.serial, "");
    EXPECT_FLOAT_EQ(s.volume, 0.65f);
}

struct ModeCase {
    const char* mode;
    int32_t loadedMode, bandwidth, step;
};

void PrintTo(const ModeCase& c, std::ostream* os) { *os << "Mode=" << c.mode; }

class ModeDefaults : public testing::TestWithParam<ModeCase> {};

TEST_P(ModeDefaults, BandwidthAndStepDefaultByTheLoadedMode) {
    const ModeCase& c = GetParam();
    const app::StoredSettings s = app::readRadioSection({{"Mode", c.mode}});
    EXPECT_EQ(s.radio.Mode, c.loadedMode);
    EXPECT_EQ(s.radio.Bandwidth, c.bandwidth);
    EXPECT_EQ(s.radio.Step, c.step);
}

INSTANTIATE_TEST_SUITE_P(File, ModeDefaults,
                         testing::Values(ModeCase{"0", 0, 9000, 100}, ModeCase{"1", 1, 12000, 100},
                                         ModeCase{"2", 2, 2700, 100}, ModeCase{"3", 3, 2700, 100},
                                         ModeCase{"4", 4, 500, 10}, ModeCase{"7", 4, 500, 10},
                                         ModeCase{"-1", 4, 500, 10}, ModeCase{"", 0, 9000, 100}));

struct ClampCase {
    const char* key;
    const char* value;
    int64_t (*field)(const app::StoredSettings&);
    int64_t loaded;
};

void PrintTo(const ClampCase& c, std::ostream* os) { *os << c.key << '=' << c.value; }

class LoadedValues : public testing::TestWithParam<ClampCase> {};

TEST_P(LoadedValues, AreClampedOrReplacedNeverRefused) {
    const ClampCase& c = GetParam();
    EXPECT_EQ(c.field(app::readRadioSection({{c.key, c.value}})), c.loaded);
}

using St = app::StoredSettings;
int64_t top(const St& s) { return s.spectrumTop; }
int64_t range(const St& s) { return s.spectrumRange; }
int64_t wfRange(const St& s) { return s.waterfallRange; }
int64_t contrast(const St& s) { return s.waterfallContrast; }
int64_t span(const St& s) { return s.spectrumSpan; }
int64_t squelch(const St& s) { return s.squelch; }
int64_t light(const St& s) { return s.waterfallLight; }
int64_t dwell(const St& s) { return s.scanDwellMs; }
int64_t frequency(const St& s) { return s.radio.Frequency; }
int64_t ppm(const St& s) { return s.radio.PPM; }
int64_t bandwidth(const St& s) { return s.radio.Bandwidth; }
int64_t step(const St& s) { return s.radio.Step; }
int64_t gain(const St& s) { return s.radio.Gain; }
int64_t tone(const St& s) { return s.radio.Tone; }
int64_t wpm(const St& s) { return s.radio.WPM; }
int64_t rfAuto(const St& s) { return s.radio.RFAuto; }
int64_t autoSpeed(const St& s) { return s.radio.AutoSpeed; }
int64_t decode(const St& s) { return s.radio.Decode; }
int64_t autoThreshold(const St& s) { return s.radio.AutoThreshold; }
int64_t threshold(const St& s) { return static_cast<int64_t>(s.radio.Threshold); }
int64_t volume(const St& s) { return app::volumePercent(s.volume); }

INSTANTIATE_TEST_SUITE_P(
    EveryKey, LoadedValues,
    testing::Values(
        ClampCase{"SpectrumTop", "-101", top, -100}, ClampCase{"SpectrumTop", "21", top, 20},
        ClampCase{"SpectrumTop", "-35", top, -35},
        ClampCase{"SpectrumRange", "19", range, 20}, ClampCase{"SpectrumRange", "141", range, 140},
        ClampCase{"WaterfallRange", "14", wfRange, 15}, ClampCase{"WaterfallRange", "101", wfRange, 100},
        ClampCase{"WaterfallContrast", "-1", contrast, 0},
        ClampCase{"WaterfallContrast", "101", contrast, 100},
        ClampCase{"SpectrumSpan", "384000", span, 480000},
        ClampCase{"SpectrumSpan", "200000", span, 96000}, ClampCase{"SpectrumSpan", "5000", span, 12000},
        ClampCase{"SpectrumSpan", "11999", span, 12000}, ClampCase{"SpectrumSpan", "480001", span, 480000},
        ClampCase{"SpectrumSpan", "48000", span, 48000}, ClampCase{"SpectrumSpan", "0x10", span, 12000},
        ClampCase{"Squelch", "-5", squelch, 0}, ClampCase{"Squelch", "111", squelch, 110},
        ClampCase{"WaterfallLight", "-1", light, 0}, ClampCase{"WaterfallLight", "101", light, 100},
        ClampCase{"ScanDwellMs", "4000", dwell, 2000}, ClampCase{"ScanDwellMs", "500", dwell, 1000},
        ClampCase{"ScanDwellMs", "9000", dwell, 5000}, ClampCase{"ScanDwellMs", "3000", dwell, 3000},
        ClampCase{"ScanDwellMs", "-5", dwell, 5000},
        ClampCase{"Frequency", "-1", frequency, 52000000},
        ClampCase{"Frequency", "abc", frequency, 500000},
        ClampCase{"Frequency", "", frequency, 500000},
        ClampCase{"Frequency", "99999999999999999999999", frequency, 52000000},
        ClampCase{"Frequency", "0x1A00000", frequency, 500000},
        ClampCase{"Frequency", " 7074000 Hz", frequency, 7074000},
        ClampCase{"PPM", "-101", ppm, -100}, ClampCase{"PPM", "101", ppm, 100},
        ClampCase{"PPM", "-99999999999999999999", ppm, -100},
        ClampCase{"Bandwidth", "99", bandwidth, 100}, ClampCase{"Bandwidth", "15001", bandwidth, 15000},
        ClampCase{"Step", "9", step, 10}, ClampCase{"Step", "10001", step, 10000},
        ClampCase{"Step", "25", step, 25},
        ClampCase{"Gain", "-1", gain, 0}, ClampCase{"Gain", "491", gain, 490},
        ClampCase{"Tone", "299", tone, 300}, ClampCase{"Tone", "1201", tone, 1200},
        ClampCase{"WPM", "4", wpm, 5}, ClampCase{"WPM", "61", wpm, 60},
        ClampCase{"RFAuto", "5", rfAuto, 1}, ClampCase{"RFAuto", "", rfAuto, 0},
        ClampCase{"AutoSpeed", "0", autoSpeed, 0}, ClampCase{"Decode", "-1", decode, 0},
        ClampCase{"AutoThreshold", "abc", autoThreshold, 0},
        ClampCase{"Threshold", "-70", threshold, -60}, ClampCase{"Threshold", "-20", threshold, -30},
        ClampCase{"Threshold", "-40", threshold, -40},
        ClampCase{"Volume", "101", volume, 100}, ClampCase{"Volume", "-3", volume, 0},
        ClampCase{"Volume", "57", volume, 57}));

TEST(RadioSection, TextKeysKeepAnEmptyValue) {
    const app::StoredSettings s = app::readRadioSection(
        {{"DeviceManufacturer", ""}, {"DeviceProduct", "Blog V3"}, {"V4Serial", "00000007"},
         {"AudioName", "Haut-parleurs (Réaltek)"}});
    EXPECT_EQ(s.dongle.manufacturer, "");
    EXPECT_EQ(s.dongle.product, "Blog V3");
    EXPECT_EQ(s.dongle.serial, "00000007");
    EXPECT_EQ(s.audioName, "Haut-parleurs (Réaltek)");
}

TEST(RadioSection, KeysMatchWhateverTheirCase) {
    const app::StoredSettings s = app::readRadioSection({{"mode", "2"}, {"FREQUENCY", "14074000"}});
    EXPECT_EQ(s.radio.Mode, 2);
    EXPECT_EQ(s.radio.Frequency, 14074000u);
}

app::StoredSettings unusual() {
    app::StoredSettings s;
    s.radio.Frequency = 27555000;
    s.radio.Mode = 2;
    s.radio.Bandwidth = 2700;
    s.radio.Step = 1000;
    s.radio.PPM = -13;
    s.radio.Gain = 440;
    s.radio.Tone = 850;
    s.radio.WPM = 30;
    s.radio.AutoSpeed = false;
    s.radio.RFAuto = true;
    s.radio.Decode = false;
    s.radio.AutoThreshold = false;
    s.radio.Threshold = -60.0f;
    s.dongle = {0, "Nooelec", "NESDR SMArt v5", "SN é5"};
    s.volume = 0.57f;
    s.squelch = 37;
    s.scanDwellMs = 5000;
    s.audioName = "HF_B";
    s.spectrumSpan = 48000;
    s.spectrumTop = -100;
    s.spectrumRange = 140;
    s.waterfallRange = 15;
    s.waterfallContrast = 0;
    s.waterfallLight = 100;
    return s;
}

TEST(RadioSection, WhatIsSavedLoadsBackUnchanged) {
    const app::StoredSettings saved = unusual();
    expectSame(app::readRadioSection(sectionOf(app::radioSectionEntries(saved, saved.audioName))), saved);
}

TEST(RadioSection, EveryVolumeStepReadsBackAsSaved) {
    for (int32_t percent = 0; percent <= 100; ++percent)
        EXPECT_EQ(app::volumePercent(app::volumeFromPercent(percent)), percent);
}

TEST(RadioSection, KeysAreWrittenInTheFileOrder) {
    const std::vector<std::string> order{
        "SpectrumTop", "SpectrumRange", "WaterfallRange", "WaterfallContrast", "SpectrumSpan",
        "Squelch",     "WaterfallLight", "ScanDwellMs",   "V4Serial",          "DeviceManufacturer",
        "DeviceProduct", "Frequency",    "Mode",          "PPM",               "Bandwidth",
        "Step",        "Gain",          "Tone",           "WPM",               "RFAuto",
        "AutoSpeed",   "Decode",        "AutoThreshold",  "Threshold",         "Volume"};
    const app::StoredSettings s = unusual();
    EXPECT_EQ(keysOf(app::radioSectionEntries(s, std::nullopt)), order);
    std::vector<std::string> withAudio = order;
    withAudio.push_back("AudioName");
    const auto entries = app::radioSectionEntries(s, std::string("HF_A"));
    EXPECT_EQ(keysOf(entries), withAudio);
    EXPECT_EQ(valueOf(entries, "AudioName"), "HF_A");
}

TEST(RadioSection, NumbersAreWrittenAsDecimalText) {
    app::StoredSettings s = unusual();
    s.radio.Frequency = 52000000;
    const auto entries = app::radioSectionEntries(s, std::nullopt);
    EXPECT_EQ(valueOf(entries, "Frequency"), "52000000");
    EXPECT_EQ(valueOf(entries, "Threshold"), "-60");
    EXPECT_EQ(valueOf(entries, "PPM"), "-13");
    EXPECT_EQ(valueOf(entries, "RFAuto"), "1");
    EXPECT_EQ(valueOf(entries, "Decode"), "0");
    EXPECT_EQ(valueOf(entries, "Volume"), "57");
    s.radio.Threshold = -45.0f;
    EXPECT_EQ(valueOf(app::radioSectionEntries(s, std::nullopt), "Threshold"), "-45");
}

}  // namespace
