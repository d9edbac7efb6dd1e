#include "app/rules/search_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const hf::Device v4{0, "RTLSDRBlog", "Blog V4", "00000001"};
const hf::Device v4NoSerial{0, "RTLSDRBlog", "Blog V4", ""};
const hf::Device v3{0, "RTLSDRBlog", "Blog V3", "00000001"};
const hf::Device smart{0, "Nooelec", "NESDR SMArt v5", ""};
const hf::Device generic{0, "Realtek", "RTL2838UHIDIR", "00000001"};

TEST(DongleSearch, NamesTheKnownModels) {
    EXPECT_EQ(app::dongleName(v4), L"RTL-SDR Blog V4");
    EXPECT_EQ(app::dongleName(v4NoSerial), L"Clé RTL-SDR");
    EXPECT_EQ(app::dongleName(v3), L"Clé RTL-SDR");
    EXPECT_EQ(app::dongleName(smart), L"Nooelec NESDR SMArt v5");
    EXPECT_EQ(app::dongleName(generic), L"Clé RTL-SDR");
    EXPECT_EQ(app::dongleName({0, "nooelec", "NESDR SMArt v5", ""}), L"Clé RTL-SDR");
}

TEST(DongleSearch, ListShowsThePromptThenEachDongle) {
    EXPECT_EQ(app::dongleListTexts({}), std::vector<std::wstring>{L"Choisir une clé…"});
    EXPECT_EQ(app::dongleListTexts({generic, v4, v4}),
              (std::vector<std::wstring>{L"Choisir une clé…", L"Clé RTL-SDR", L"RTL-SDR Blog V4",
                                         L"RTL-SDR Blog V4"}));
}

TEST(DongleSearch, SelectsTheConfirmedDongleOnly) {
    const hf::Device otherSerial{0, "RTLSDRBlog", "Blog V4", "00000002"};
    hf::Device moved = v4;
    moved.index = 1;
    EXPECT_EQ(app::rememberedSelection({}, v4), 0);
    EXPECT_EQ(app::rememberedSelection({generic, moved}, v4), 2);
    EXPECT_EQ(app::rememberedSelection({otherSerial}, v4), 0);
    EXPECT_EQ(app::rememberedSelection({v4, generic, v4}, v4), 3);
}

TEST(DongleSearch, StatusSaysWhetherTheConfirmedDongleWasFound) {
    EXPECT_EQ(std::wstring(app::searchOutcomeStatus(2)), L"Clé mémorisée retrouvée — prête");
    EXPECT_EQ(std::wstring(app::searchOutcomeStatus(0)),
              L"Choisissez une clé disponible. Aucune substitution automatique.");
}

}  // namespace
