#include "app/rules/digit_tuning.h"
#include "app/rules/frequency_field_look.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct StepCase {
    const char* what;
    const wchar_t* text;
    int selectionStart;
    int direction;
    uint32_t frequency;
    const wchar_t* shown;
    int selection;
};

TEST(DigitTuning, StepsTheDigitPointedAtAndKeepsItSelected) {
    const StepCase cases[] = {
        {"1 MHz digit up", L"007.023000", 2, +1, 8023000, L"008.023000", 2},
        {"1 MHz digit down", L"007.023000", 2, -1, 6023000, L"006.023000", 2},
        {"caret on the point tunes 100 kHz", L"007.023000", 3, +1, 7123000, L"007.123000", 4},
        {"carry keeps the same digit", L"007.999000", 6, +1, 8000000, L"008.000000", 6},
        {"10 MHz digit stops at the top", L"045.000000", 1, +1, 52000000, L"052.000000", 1},
        {"1 Hz digit stops at the bottom", L"000.500000", 9, -1, 500000, L"000.500000", 9},
        {"caret after the end tunes 1 Hz", L"007.023000", 10, +1, 7023001, L"007.023001", 9},
        {"grouped Hz count from the end", L"027.185.000", 6, +1, 27186000, L"027.186000", 6},
        {"grouped Hz, 10 kHz digit", L"027.185.000", 5, -1, 27175000, L"027.175000", 5},
        // Typed MHz: the digit's place is read from the decimal point.
        {"typed 7.1, the 1 MHz digit", L"7.1", 0, +1, 8100000, L"008.100000", 2},
        {"typed 7.1, the 100 kHz digit", L"7.1", 2, +1, 7200000, L"007.200000", 4},
        {"typed 7,023, the 1 kHz digit", L"7,023", 4, -1, 7022000, L"007.022000", 6},
        {"typed 7,023, caret on the comma", L"7,023", 1, +1, 7123000, L"007.123000", 4},
        {"typed 14 without a point", L"14", 0, +1, 24000000, L"024.000000", 1},
        {"typed 7.0230001: below 1 Hz, only rewritten", L"7.0230001", 8, +1, 7023000, L"007.023000", 9},
    };
    for (const StepCase& c : cases) {
        const auto step = app::stepDigit(c.text, c.selectionStart, c.direction);
        ASSERT_TRUE(step.has_value()) << c.what;
        EXPECT_EQ(step->frequency, c.frequency) << c.what;
        EXPECT_EQ(step->text, c.shown) << c.what;
        EXPECT_EQ(step->selection, c.selection) << c.what;
    }
}

TEST(DigitTuning, TextThatIsNoFrequencyChangesNothing) {
    for (const wchar_t* text : {L"", L"7.0x", L"abc", L"60", L"027.18.5000", L"0.4"}) {
        EXPECT_FALSE(app::stepDigit(text, 0, +1).has_value()) << text;
        EXPECT_FALSE(app::stepDigit(text, 2, -1).has_value()) << text;
    }
}

TEST(DigitTuning, PlaceValueOfEachCharacter) {
    struct UnitCase {
        const wchar_t* text;
        int position;
        int64_t unit;
    };
    const UnitCase cases[] = {
        {L"007.023000", 0, 100000000}, {L"007.023000", 3, 0},      {L"007.023000", 9, 1},
        {L"007.023000", 10, 0},        {L"007.023000", -1, 0},     {L"27.185", 0, 10000000},
        {L"27.185", 5, 1000},          {L" +7.1", 2, 1000000},     {L" +7.1", 0, 0},
        {L"7.1e0", 0, 0},              {L"027.185.000", 0, 100000000},
    };
    for (const UnitCase& c : cases)
        EXPECT_EQ(app::digitUnit(c.text, c.position), c.unit) << c.text << " @" << c.position;
}

TEST(DigitTuning, HitTestFindsDigitCellsOnly) {
    const std::wstring text = L"007.023000";
    const std::vector<int> lefts{5, 15, 25, 35, 45, 55, 65, 75, 85, 95};
    const struct {
        int x;
        int digit;
    } cases[] = {{5, 0}, {24, 1}, {25, 2}, {40, -1}, {104, 9}, {105, -1}, {4, -1}};
    for (const auto& c : cases) EXPECT_EQ(app::digitAt(text, lefts, 105, c.x), c.digit) << c.x;
    EXPECT_EQ(app::digitAt(L"7a", {0, 10}, 20, 12), -1);  // a typed letter is no digit
    EXPECT_EQ(app::digitAt(text, {5, 15}, 105, 6), -1);   // a character without a position
    EXPECT_EQ(app::digitAt(L"", {}, 0, 0), -1);
}

TEST(FrequencyFieldLook, RowsContinueThePanelGradient) {
    const hf::Box panel{0, 10, 300, 101};
    // Top of the panel: the top colour with a little gloss.
    EXPECT_EQ(app::fieldRowColour(0, 38, 1.0f, panel), (app::Colour{16, 88, 59}));
    // The gloss peak, 18 % down, reached on a scaled window.
    EXPECT_EQ(app::fieldRowColour(4, 80, 1.5f, panel), (app::Colour{24, 88, 66}));
    // Bottom of the panel: the bottom colour, no gloss left.
    EXPECT_EQ(app::fieldRowColour(100, 38, 1.0f, panel), (app::Colour{2, 30, 24}));
    EXPECT_EQ(app::fieldTextColour(false), (app::Colour{65, 220, 255}));
    EXPECT_EQ(app::fieldTextColour(true), (app::Colour{65, 255, 110}));
}

}  // namespace
