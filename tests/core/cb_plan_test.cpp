#include "hf/cb_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>
#include <stdexcept>
#include <string>

namespace {

struct NamedFrequency {
    std::uint32_t hz;
    const wchar_t* name;
};

TEST(CbChannelName, NamesTheChannelOfEachBand) {
    const NamedFrequency cases[] = {
        {27185000, L"Canal 19"},
        {26735000, L"Canal 19 inférieur"},
        {27635000, L"Canal 19 supérieur"},
        {27255000, L"Canal 23"},
        {27235000, L"Canal 24"},
        {27245000, L"Canal 25"},
        {27555000, L"Canal 12 supérieur — Triple 5"},
        {26955000, L"Canal 40 inférieur"},
        {26515000, L"Canal 1 inférieur"},
        {26965000, L"Canal 1"},
        {27405000, L"Canal 40"},
        {27415000, L"Canal 1 supérieur"},
        {27855000, L"Canal 40 supérieur"},
        {27105000, L"Canal 12"},
        {27195000, L""},
        {26960000, L""},
        {26995000, L""},  // the gap between channels 3 and 4
        {26505000, L""},
        {27865000, L""},
        {0, L""},
    };
    for (const auto& c : cases) EXPECT_EQ(hf::cbChannelName(c.hz), c.name) << c.hz;
}

TEST(CbChannelName, EveryScanFrequencyHasItsOwnName) {
    std::set<std::wstring> names;
    for (std::uint32_t hz : hf::cbScanFrequencies()) {
        const std::wstring name = hf::cbChannelName(hz);
        EXPECT_EQ(name.rfind(L"Canal ", 0), 0u) << hz;
        names.insert(name);
        EXPECT_EQ(hf::cbChannelName(hz + 1), L"") << hz;
    }
    EXPECT_EQ(names.size(), 120u);
}

TEST(CbScanFrequencies, AscendingOverTheThreeBands) {
    const auto list = hf::cbScanFrequencies();
    ASSERT_EQ(list.size(), 120u);
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
    EXPECT_EQ(std::adjacent_find(list.begin(), list.end()), list.end());
    EXPECT_EQ(list[0], 26515000u);
    EXPECT_EQ(list[1], 26525000u);
    EXPECT_EQ(list[2], 26535000u);
    EXPECT_EQ(list[3], 26555000u);
    EXPECT_EQ(list.back(), 27855000u);
    // Channels 24 and 25 come before 23 once sorted, in every band.
    for (std::int64_t shift : {-450000, 0, 450000}) {
        const auto at = std::find(list.begin(), list.end(), std::uint32_t(27225000 + shift));
        ASSERT_LE(at - list.begin() + 4, std::ptrdiff_t(list.size()));
        EXPECT_EQ(at[1], std::uint32_t(27235000 + shift));
        EXPECT_EQ(at[2], std::uint32_t(27245000 + shift));
        EXPECT_EQ(at[3], std::uint32_t(27255000 + shift));
    }
}

class CbScanSettings : public testing::Test {
protected:
    CbScanSettings() {
        cw.center = 7100000;
        cw.Step = 500;
        cw.PPM = 17;
        cw.Gain = 440;
        cw.Tone = 650;
        cw.WPM = 25;
        cw.AutoSpeed = false;
        cw.RFAuto = true;
        cw.Decode = false;
        cw.AutoThreshold = false;
        cw.Threshold = -50.0f;
    }

    // Every field but the three that the list sets must be the template's.
    void expectTemplateKept(const std::vector<hf::Settings>& list) const {
        for (hf::Settings entry : list) {
            entry.Frequency = cw.Frequency;
            entry.Mode = cw.Mode;
            entry.Bandwidth = cw.Bandwidth;
            EXPECT_EQ(entry, cw);
        }
    }

    hf::Settings cw;  // a CW template with every other field off its default
};

struct Entry {
    std::size_t index;
    std::uint32_t hz;
    int mode;
    int bandwidth;
};

void expectEntries(const std::vector<hf::Settings>& list, std::initializer_list<Entry> entries) {
    for (const auto& e : entries) {
        ASSERT_LT(e.index, list.size());
        EXPECT_EQ(list[e.index].Frequency, e.hz) << e.index;
        EXPECT_EQ(list[e.index].Mode, e.mode) << e.index;
        EXPECT_EQ(list[e.index].Bandwidth, e.bandwidth) << e.index;
    }
}

TEST_F(CbScanSettings, AmThenFmUpToTheNormalBandThenUsb) {
    const auto list = hf::cbScanSettings(cw);
    ASSERT_EQ(list.size(), 200u);
    expectEntries(list, {{0, 26515000, 0, 9000},
                         {1, 26515000, 1, 12000},
                         {2, 26525000, 0, 9000},
                         {159, 27405000, 1, 12000},
                         {160, 27415000, 2, 2700},
                         {199, 27855000, 2, 2700}});
    for (std::size_t i = 0; i < 160; ++i) EXPECT_EQ(list[i].Mode, int(i % 2)) << i;
    for (std::size_t i = 160; i < 200; ++i) EXPECT_EQ(list[i].Mode, 2) << i;
    expectTemplateKept(list);
}

struct BlockCase {
    int block;
    std::size_t size;
    Entry first;
    Entry last;
};

TEST_F(CbScanSettings, EachBlockKeepsItsBandInOrder) {
    const BlockCase cases[] = {
        {-1, 80, {0, 26515000, 0, 9000}, {79, 26955000, 1, 12000}},
        {0, 80, {0, 26965000, 0, 9000}, {79, 27405000, 1, 12000}},
        {+1, 40, {0, 27415000, 2, 2700}, {39, 27855000, 2, 2700}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.block);
        const auto list = hf::cbBlockScanSettings(cw, c.block);
        ASSERT_EQ(list.size(), c.size);
        expectEntries(list, {c.first, c.last});
        EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                                   [](const auto& a, const auto& b) { return a.Frequency < b.Frequency; }));
        expectTemplateKept(list);
    }
    const auto upper = hf::cbBlockScanSettings(cw, 1);
    EXPECT_TRUE(std::all_of(upper.begin(), upper.end(), [](const auto& s) { return s.Mode == 2; }));
}

TEST_F(CbScanSettings, BlockOutsideTheThreeBandsIsRefused) {
    for (int block : {2, -2, 450000, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        try {
            hf::cbBlockScanSettings(cw, block);
            ADD_FAILURE() << "accepted block " << block;
        } catch (const std::out_of_range& e) {
            EXPECT_STREQ(e.what(), "Bloc CB invalide");
        }
    }
}

}  // namespace
