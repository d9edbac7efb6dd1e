#include "app/rules/form_reading.h"

#include "thrown.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <ostream>
#include <string>

namespace {

using app_test::thrownMessage;

const std::string outOfLimits = "Reglage numerique hors limites.";
const std::string unsupportedHf =
    "HF non configuree pour ce modele. Utilisez 25 a 52 MHz ou une Blog V4 / SMArt v5 reconnue.";

const hf::Device v4{0, "RTLSDRBlog", "Blog V4", "00000001"};
const hf::Device generic{0, "Realtek", "RTL2838UHIDIR", "00000001"};

// The form as the window shows the default settings.
class ReadForm : public testing::Test {
protected:
    app::FormControls form{L"007.023000", 4,     L"500", L"-4", L"700", L"18", 2, 3,
                           true,          false, true,   0};

    hf::Settings read(bool receiving = false, const hf::Device& dongle = v4) const {
        return app::readForm(form, receiving, dongle);
    }
};

TEST_F(ReadForm, TheDefaultFormGivesTheDefaultSettings) {
    hf::Settings expected;
    expected.Threshold = -70.0f;  // what the "Auto" item stands for
    EXPECT_EQ(read(), expected);
}

TEST_F(ReadForm, ReadsEveryControl) {
    form = {L"27,185", 2, L"2700", L"12", L"650", L"25", 6, 0, false, true, false, 2};
    hf::Settings expected;
    expected.Frequency = 27185000;
    expected.Mode = 2;
    expected.Bandwidth = 2700;
    expected.PPM = 12;
    expected.Tone = 650;
    expected.WPM = 25;
    expected.Step = 10000;
    expected.Gain = 0;
    expected.AutoSpeed = false;
    expected.RFAuto = true;
    expected.Decode = false;
    expected.AutoThreshold = false;
    expected.Threshold = -50.0f;
    EXPECT_EQ(read(), expected);
}

struct NumberCase {
    std::wstring app::FormControls::*edit;
    const wchar_t* text;
    int32_t hf::Settings::*field;
    int32_t value;        // when accepted
    const char* refusal;  // when refused
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << '"' << std::string(c.text, c.text + std::wcslen(c.text)) << '"';
}

class NumberEdits : public ReadForm, public testing::WithParamInterface<NumberCase> {};

TEST_P(NumberEdits, AcceptOnlyAWholeNumberInRange) {
    const NumberCase& c = GetParam();
    form.*c.edit = c.text;
    if (c.refusal)
        EXPECT_EQ(thrownMessage([&] { read(); }), c.refusal);
    else
        EXPECT_EQ(read().*c.field, c.value);
}

using F = app::FormControls;
using S = hf::Settings;

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberEdits,
    testing::Values(NumberCase{&F::bandwidth, L"  2700", &S::Bandwidth, 2700, nullptr},
                    NumberCase{&F::bandwidth, L"+2700", &S::Bandwidth, 2700, nullptr},
                    NumberCase{&F::bandwidth, L"2700 ", &S::Bandwidth, 0, outOfLimits.c_str()},
                    NumberCase{&F::bandwidth, L"2700Hz", &S::Bandwidth, 0, outOfLimits.c_str()},
                    NumberCase{&F::bandwidth, L"27.5", &S::Bandwidth, 0, outOfLimits.c_str()},
                    NumberCase{&F::bandwidth, L"", &S::Bandwidth, 0, "stoi"},
                    NumberCase{&F::bandwidth, L"abc", &S::Bandwidth, 0, "stoi"},
                    NumberCase{&F::bandwidth, L"99999999999", &S::Bandwidth, 0, "stoi"},
                    NumberCase{&F::bandwidth, L"100", &S::Bandwidth, 100, nullptr},
                    NumberCase{&F::bandwidth, L"99", &S::Bandwidth, 0, outOfLimits.c_str()},
                    NumberCase{&F::bandwidth, L"15000", &S::Bandwidth, 15000, nullptr},
                    NumberCase{&F::bandwidth, L"15001", &S::Bandwidth, 0, outOfLimits.c_str()},
                    NumberCase{&F::ppm, L"-100", &S::PPM, -100, nullptr},
                    NumberCase{&F::ppm, L"-101", &S::PPM, 0, outOfLimits.c_str()},
                    NumberCase{&F::ppm, L"101", &S::PPM, 0, outOfLimits.c_str()},
                    NumberCase{&F::tone, L"300", &S::Tone, 300, nullptr},
                    NumberCase{&F::tone, L"299", &S::Tone, 0, outOfLimits.c_str()},
                    NumberCase{&F::tone, L"1201", &S::Tone, 0, outOfLimits.c_str()},
                    NumberCase{&F::wpm, L"60", &S::WPM, 60, nullptr},
                    NumberCase{&F::wpm, L"4", &S::WPM, 0, outOfLimits.c_str()},
                    NumberCase{&F::wpm, L"61", &S::WPM, 0, outOfLimits.c_str()}));

TEST_F(ReadForm, TheFrequencyTextIsJudgedFirst) {
    form.frequency = L"53";
    form.bandwidth = L"abc";
    EXPECT_EQ(thrownMessage([&] { read(); }), "Reception HF : 0,5 a 52 MHz.");
    form.frequency = L"abc";
    EXPECT_EQ(thrownMessage([&] { read(); }), "stod");
}

TEST_F(ReadForm, WhileReceivingTheDongleMustReceiveTheFrequency) {
    form.bandwidth = L"abc";
    EXPECT_EQ(thrownMessage([&] { read(true, generic); }), unsupportedHf);
    EXPECT_EQ(thrownMessage([&] { read(false, generic); }), "stoi");
    form.bandwidth = L"500";
    EXPECT_EQ(read(true, v4).Frequency, 7023000u);
    form.frequency = L"28";
    EXPECT_EQ(read(true, generic).Frequency, 28000000u);
}

TEST_F(ReadForm, SelectionsOutsideTheTablesTakeTheNearestEntry) {
    form.stepSelection = -1;
    form.gainSelection = 7;
    form.modeSelection = -1;
    form.thresholdSelection = -1;
    hf::Settings s = read();
    EXPECT_EQ(s.Step, 10);
    EXPECT_EQ(s.Gain, 490);
    EXPECT_EQ(s.Mode, 0);
    EXPECT_TRUE(s.AutoThreshold);
    EXPECT_EQ(s.Threshold, -70.0f);

    form.stepSelection = 9;
    form.gainSelection = -1;
    form.modeSelection = 5;
    form.thresholdSelection = 5;
    s = read();
    EXPECT_EQ(s.Step, 10000);
    EXPECT_EQ(s.Gain, 0);
    EXPECT_EQ(s.Mode, 4);
    EXPECT_FALSE(s.AutoThreshold);
    EXPECT_EQ(s.Threshold, -30.0f);
}

TEST_F(ReadForm, ThresholdItemsFixTheThreshold) {
    const float thresholds[] = {-60.0f, -50.0f, -40.0f, -30.0f};
    for (int item = 1; item <= 4; ++item) {
        form.thresholdSelection = item;
        const hf::Settings s = read();
        EXPECT_FALSE(s.AutoThreshold);
        EXPECT_EQ(s.Threshold, thresholds[item - 1]);
    }
}

}  // namespace
