#include "hf/dongle_identity.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

const std::string explicitChoice = "Choisissez explicitement une cle identifiable.";
const std::string duplicate = "Identite USB en double : ouverture refusee.";
const std::string absent =
    "La cle choisie est absente ou occupee. Aucune autre cle ne sera ouverte.";
const std::string unsupportedHf =
    "HF non configuree pour ce modele. Utilisez 25 a 52 MHz ou une Blog V4 / SMArt v5 reconnue.";

const hf::Device v4{0, "RTLSDRBlog", "Blog V4", "00000001"};
const hf::Device v4NoSerial{0, "RTLSDRBlog", "Blog V4", ""};
const hf::Device v3{0, "RTLSDRBlog", "Blog V3", ""};
const hf::Device smart{0, "Nooelec", "NESDR SMArt v5", "SN5"};
const hf::Device generic{0, "Realtek", "RTL2838UHIDIR", "00000001"};

template <typename Call>
std::string refusal(Call call) {
    try {
        call();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "(no refusal)";
}

struct ChoiceCase {
    const char* name;
    std::vector<hf::Device> found;
    hf::Device wanted;
    std::string message;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

class ChooseDeviceRefuses : public testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseDeviceRefuses, WithItsReason) {
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(refusal([&] { hf::chooseDevice(c.found, c.wanted); }), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Identity, ChooseDeviceRefuses,
    testing::Values(
        ChoiceCase{"EmptySerialEvenWithAnEqualDongle", {v4NoSerial, v3}, v4NoSerial,
                   explicitChoice},
        ChoiceCase{"EmptySerialOnEmptyList", {}, v3, explicitChoice},
        ChoiceCase{"TwoDonglesWithOneIdentity",
                   {{0, "RTLSDRBlog", "Blog V4", "00000001"},
                    {1, "Realtek", "RTL2838UHIDIR", "00000001"},
                    {2, "RTLSDRBlog", "Blog V4", "00000001"}},
                   v4, duplicate},
        ChoiceCase{"NothingAttached", {}, v4, absent},
        ChoiceCase{"SerialDiffersInCase",
                   {{0, "RTLSDRBlog", "Blog V4", "0000000a"}},
                   {0, "RTLSDRBlog", "Blog V4", "0000000A"}, absent},
        ChoiceCase{"ProductDiffersInCase",
                   {{0, "RTLSDRBlog", "Blog v4", "00000001"}}, v4, absent},
        ChoiceCase{"TrailingBlankOnSerial",
                   {{0, "RTLSDRBlog", "Blog V4", "00000001 "}}, v4, absent},
        ChoiceCase{"TrailingBlankOnManufacturer",
                   {{0, "RTLSDRBlog ", "Blog V4", "00000001"}}, v4, absent},
        ChoiceCase{"SerialIsAPrefix", {{0, "RTLSDRBlog", "Blog V4", "0000000"}}, v4, absent}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Identity, ChooseDeviceReturnsTheMatchWithItsOwnIndex) {
    const std::vector<hf::Device> found{
        {0, "RTLSDRBlog", "Blog V3", "00000001"},
        {1, "Realtek", "RTL2838UHIDIR", "00000001"},
        {2, "RTLSDRBlog", "Blog V4", "00000001"},
    };
    const hf::Device wanted{7, "RTLSDRBlog", "Blog V4", "00000001"};
    const hf::Device chosen = hf::chooseDevice(found, wanted);
    EXPECT_EQ(chosen.index, 2u);
    EXPECT_EQ(chosen.manufacturer, "RTLSDRBlog");
    EXPECT_EQ(chosen.product, "Blog V4");
    EXPECT_EQ(chosen.serial, "00000001");
}

struct PathCase {
    const char* name;
    hf::Device device;
    uint32_t hz;
    int mode;  // -1: refused
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class ReceptionPath : public testing::TestWithParam<PathCase> {};

TEST_P(ReceptionPath, DecidesTheDirectSamplingMode) {
    const PathCase& c = GetParam();
    if (c.mode < 0) {
        EXPECT_EQ(refusal([&] { hf::receptionPath(c.device, c.hz); }), unsupportedHf);
    } else {
        EXPECT_EQ(hf::receptionPath(c.device, c.hz), static_cast<uint32_t>(c.mode));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Identity, ReceptionPath,
    testing::Values(PathCase{"V4At500kHz", v4, 500000, 0},
                    PathCase{"V4Below25MHz", v4, 24999999, 0},
                    PathCase{"V4At25MHz", v4, 25000000, 0},
                    PathCase{"V4WithoutSerialBelow25MHz", v4NoSerial, 24999999, -1},
                    PathCase{"V4WithoutSerialAt25MHz", v4NoSerial, 25000000, 0},
                    PathCase{"V3At7MHz", v3, 7000000, 2},
                    PathCase{"V3Below25MHz", v3, 24999999, 2},
                    PathCase{"V3At25MHz", v3, 25000000, 0},
                    PathCase{"SmartAt500kHz", smart, 500000, 2},
                    PathCase{"SmartAt52MHz", smart, 52000000, 0},
                    PathCase{"UnknownBelow25MHz", generic, 24999999, -1},
                    PathCase{"UnknownAt25MHz", generic, 25000000, 0},
                    PathCase{"SmartWithOtherManufacturer",
                             {0, "RTLSDRBlog", "NESDR SMArt v5", "1"}, 7000000, -1},
                    PathCase{"V3WithTrailingBlank", {0, "RTLSDRBlog", "Blog V3 ", "1"}, 7000000,
                             -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Identity, IsV4NeedsTheExactStringsAndASerial) {
    EXPECT_TRUE(hf::isV4(v4));
    EXPECT_FALSE(hf::isV4(v4NoSerial));
    EXPECT_FALSE(hf::isV4(v3));
    EXPECT_FALSE(hf::isV4(smart));
    EXPECT_FALSE(hf::isV4({0, "RTLSDRBlog", "Blog V4 ", "00000001"}));
    EXPECT_FALSE(hf::isV4({0, "rtlsdrblog", "Blog V4", "00000001"}));
}

}  // namespace
