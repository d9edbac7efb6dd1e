#include "hf/ui_layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <stdexcept>

namespace hf {
void PrintTo(const Box& b, std::ostream* out) { *out << '{' << b.x << ", " << b.y << ", " << b.w << ", " << b.h << '}'; }
}  // namespace hf

namespace {

using hf::Box;

std::set<int> idsOf(const hf::UiLayout& layout) {
    std::set<int> ids;
    for (const auto& [id, box] : layout.boxes) ids.insert(id);
    return ids;
}

// The default window, 1320 x 740 less the caption band.
TEST(UiLayout, DefaultWindowFigures) {
    const hf::UiLayout layout(1320, 712);
    EXPECT_FALSE(layout.compact);
    EXPECT_EQ(layout.cwTop, 546);
    EXPECT_EQ(layout.plot, (Box{230, 177, 1082, 361}));
    EXPECT_EQ(layout.frequency, (Box{524, 8, 280, 79}));
    EXPECT_EQ(layout.info, (Box{816, 8, 230, 78}));

    const std::pair<const wchar_t*, Box> panels[] = {
        {L"SOURCE RADIO", {8, 8, 214, 137}},      {L"RÉCEPTION", {8, 153, 214, 170}},
        {L"PAS MANUEL (Hz)", {8, 331, 214, 94}},  {L"PLAGE À SCANNER", {8, 430, 214, 65}},
        {L"SORTIE AUDIO", {8, 497, 214, 189}},    {L"MODE", {230, 91, 293, 76}},
        {L"FILTRE AUDIO", {531, 91, 236, 76}},    {L"AFFICHAGE SPECTRE", {775, 91, 271, 76}},
        {L"SCANNER", {1054, 8, 258, 159}},        {L"DÉCODEUR CW LOCAL", {230, 546, 1082, 140}},
    };
    ASSERT_EQ(layout.panels.size(), std::size(panels));
    for (std::size_t i = 0; i < std::size(panels); ++i) {
        EXPECT_EQ(layout.panels[i].caption, panels[i].first) << i;
        EXPECT_EQ(layout.panels[i].rect, panels[i].second) << i;
    }

    const hf::Label labels[] = {
        {18, 76, L"N°"},        {18, 188, L"Gain RF"},   {18, 260, L"PPM"},     {18, 296, L"Largeur (Hz)"},
        {18, 558, L"FAVORIS"},  {539, 145, L"Squelch"},  {783, 144, L"Fond WF"}, {1132, 135, L"à"},
        {311, 577, L"Ton"},     {410, 577, L"Vitesse"},  {649, 577, L"Seuil"},  {234, 62, L"Volume"},
    };
    ASSERT_EQ(layout.labels.size(), std::size(labels));
    for (std::size_t i = 0; i < std::size(labels); ++i) {
        EXPECT_EQ(layout.labels[i].text, labels[i].text) << i;
        EXPECT_EQ(layout.labels[i].x, labels[i].x) << i;
        EXPECT_EQ(layout.labels[i].y, labels[i].y) << i;
    }

    const std::map<int, Box> boxes = {
        {100, {234, 16, 110, 34}},   {101, {530, 12, 223, 35}},   {102, {576, 51, 176, 26}},
        {103, {536, 51, 32, 26}},    {104, {760, 51, 32, 26}},    {107, {128, 289, 84, 25}},
        {108, {118, 184, 94, 26}},   {109, {128, 254, 84, 25}},   {110, {346, 574, 55, 25}},
        {111, {465, 574, 44, 25}},   {112, {519, 574, 122, 25}},  {113, {695, 574, 88, 25}},
        {114, {238, 574, 65, 25}},   {115, {18, 38, 194, 26}},    {116, {112, 101, 100, 29}},
        {117, {18, 527, 194, 26}},   {118, {290, 58, 115, 27}},   {119, {18, 581, 194, 77}},
        {120, {18, 660, 194, 26}},   {121, {18, 458, 194, 26}},   {122, {1142, 572, 162, 26}},
        {123, {1142, 601, 162, 26}}, {124, {1142, 630, 162, 26}}, {126, {12, 688, 1296, 18}},
        {127, {238, 607, 896, 70}},  {128, {18, 218, 194, 24}},   {129, {438, 16, 70, 34}},
        {131, {1062, 133, 69, 25}},  {132, {1145, 133, 69, 25}},  {133, {1221, 133, 83, 26}},
        {134, {1062, 62, 130, 28}},  {135, {1062, 95, 74, 26}},   {136, {837, 143, 199, 20}},
        {137, {350, 16, 80, 34}},    {138, {463, 58, 54, 27}},    {139, {1199, 62, 105, 28}},
        {140, {601, 144, 118, 21}},
        // mode row
        {300, {238, 119, 53, 33}},   {301, {293, 119, 53, 33}},   {302, {348, 119, 53, 33}},
        {303, {403, 119, 53, 33}},   {304, {458, 119, 53, 33}},
        // manual step rows
        {320, {18, 360, 62, 27}},    {321, {84, 360, 62, 27}},    {322, {150, 360, 62, 27}},
        {323, {18, 392, 45, 27}},    {324, {67, 392, 45, 27}},    {325, {116, 392, 45, 27}},
        {326, {165, 392, 45, 27}},
        // span row
        {340, {783, 119, 60, 23}},   {341, {847, 119, 60, 23}},   {342, {911, 119, 60, 23}},
        {343, {975, 119, 60, 23}},
        // scan-range row
        {360, {1062, 36, 57, 21}},   {361, {1124, 36, 57, 21}},   {362, {1186, 36, 57, 21}},
        {363, {1248, 36, 57, 21}},
        // dwell row
        {380, {1141, 95, 38, 26}},   {381, {1182, 95, 38, 26}},   {382, {1223, 95, 38, 26}},
        {383, {1264, 95, 38, 26}},
        // filter presets
        {400, {539, 119, 70, 23}},   {401, {613, 119, 70, 23}},   {402, {687, 119, 70, 23}},
    };
    EXPECT_EQ(layout.boxes, boxes);
}

struct Arrangement {
    int width;
    bool compact;
    int frequencyWidth;
    Box info;
    int rowY;
    const wchar_t* spectrumCaption;
    int startX, startW, pauseX, stopX;
};

TEST(UiLayout, CompactBelow1200) {
    const Arrangement cases[] = {
        {1199, true, 401, {460, -24, 275, 24}, 96, L"SPECTRE", 234, 104, 344, 432},
        {1200, false, 280, {816, 8, 110, 78}, 91, L"AFFICHAGE SPECTRE", 234, 110, 350, 438},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        const hf::UiLayout layout(c.width, 712);
        EXPECT_EQ(layout.compact, c.compact);
        EXPECT_EQ(layout.frequency, (Box{524, 8, c.frequencyWidth, 79}));
        EXPECT_EQ(layout.info, c.info);
        EXPECT_EQ(layout.panels[5].rect.y, c.rowY);
        EXPECT_EQ(layout.panels[7].caption, c.spectrumCaption);
        EXPECT_EQ(layout.plot.y, c.rowY + 86);
        EXPECT_EQ(layout.boxes.at(100), (Box{c.startX, 16, c.startW, 34}));
        EXPECT_EQ(layout.boxes.at(137).x, c.pauseX);
        EXPECT_EQ(layout.boxes.at(129).x, c.stopX);
        EXPECT_EQ(layout.boxes.at(101).w, c.frequencyWidth - 57);
    }
}

TEST(UiLayout, FrequencyPanelOrMeterEndsBesideTheScanner) {
    for (int width : {600, 1000, 1199, 1200, 1320, 1920, 3840}) {
        const hf::UiLayout layout(width, 712);
        const Box& end = layout.compact ? layout.frequency : layout.info;
        EXPECT_EQ(end.x + end.w, width - 274) << width;
        EXPECT_EQ(layout.panels[8].rect.x, width - 266) << width;
    }
}

struct Split {
    int width;
    int modeW, filterW, spectrumPanelW;
    int modeButtonW, presetButtonW, spanButtonW;
};

TEST(UiLayout, SplitsTruncateTowardZero) {
    const Split cases[] = {
        {1320, 293, 236, 271, 53, 70, 60},
        {1020, 185, 149, 166, 32, 41, 34},
        {504, 0, 0, -16, -4, -8, -11},
        {100, -145, -117, -158, -33, -47, -46},
        {0, -181, -146, -193, -41, -56, -55},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        const hf::UiLayout layout(c.width, 712);
        EXPECT_EQ(layout.panels[5].rect.w, c.modeW);
        EXPECT_EQ(layout.panels[6].rect.w, c.filterW);
        EXPECT_EQ(layout.panels[7].rect.w, c.spectrumPanelW);
        EXPECT_EQ(layout.boxes.at(300).w, c.modeButtonW);
        EXPECT_EQ(layout.boxes.at(400).w, c.presetButtonW);
        EXPECT_EQ(layout.boxes.at(340).w, c.spanButtonW);
    }
}

TEST(UiLayout, OnlyTheFavouritesListIsClamped) {
    const std::pair<int, int> cases[] = {{0, 20}, {-100, 20}, {654, 20}, {655, 20}, {656, 21}, {712, 77}};
    for (const auto& [height, listHeight] : cases) {
        SCOPED_TRACE(height);
        const hf::UiLayout layout(1320, height);
        EXPECT_EQ(layout.boxes.at(119).h, listHeight);
        EXPECT_EQ(layout.cwTop, height - 166);
        EXPECT_EQ(layout.panels[4].rect.h, height - 523);
        EXPECT_EQ(layout.plot.h, height - 351);
        EXPECT_EQ(layout.boxes.at(126).y, height - 24);
    }
}

TEST(UiLayout, HiddenCombosAndUnknownIdsHaveNoBox) {
    const hf::UiLayout layout(1320, 712);
    for (int id : {105, 106, 125, 130, 0, 99, 141, 305, 999}) {
        EXPECT_EQ(layout.boxes.count(id), 0u) << id;
        EXPECT_THROW(layout.boxes.at(id), std::out_of_range) << id;
    }
}

TEST(UiLayout, AnyClientSizeGivesTheWholeLayout) {
    constexpr int lowest = std::numeric_limits<int>::min();
    constexpr int highest = std::numeric_limits<int>::max();
    const std::set<int> ids = idsOf(hf::UiLayout(1320, 712));
    const std::pair<int, int> sizes[] = {{0, 0},         {1, 1},           {-1, -1},      {-5000, -300},
                                         {100000, 80000}, {highest, highest}, {lowest, lowest}, {lowest, highest}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        const hf::UiLayout layout(width, height);
        EXPECT_EQ(idsOf(layout), ids);
        EXPECT_EQ(layout.panels.size(), 10u);
        EXPECT_EQ(layout.labels.size(), 12u);
        EXPECT_EQ(layout.compact, width < 1200);
        EXPECT_EQ(layout.cwTop, std::max<long long>(lowest, height - 166LL));
        EXPECT_GE(layout.boxes.at(119).h, 20);
    }
}

TEST(UiLayout, ModerateNegativeSizesFollowTheFormulas) {
    const hf::UiLayout layout(-5000, -300);
    EXPECT_EQ(layout.panels[9].rect, (Box{230, -466, -5238, 140}));
    EXPECT_EQ(layout.boxes.at(126), (Box{12, -324, -5024, 18}));
    EXPECT_EQ(layout.frequency, (Box{524, 8, -5798, 79}));
    EXPECT_EQ(layout.plot, (Box{230, 182, -5238, -656}));
}

}  // namespace
