#include "app/rules/favorites.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

hf::Settings favourite(uint32_t frequency, int32_t mode, int32_t bandwidth, int32_t step) {
    hf::Settings s;
    s.Frequency = frequency;
    s.Mode = mode;
    s.Bandwidth = bandwidth;
    s.Step = step;
    return s;
}

// The file as the platform would hand it back after the entries are written.
app::IniSection written(app::IniSection section, const std::vector<app::IniEntry>& entries) {
    for (const app::IniEntry& e : entries) {
        if (e.value)
            section[e.key] = *e.value;
        else
            section.erase(e.key);
    }
    return section;
}

std::vector<hf::Settings> userSettings(const std::vector<app::Favorite>& favorites) {
    std::vector<hf::Settings> user;
    for (std::size_t i = app::builtInFavoriteCount; i < favorites.size(); ++i)
        user.push_back(favorites[i].second);
    return user;
}

TEST(Favorites, TheBuiltInOnesComeFirst) {
    const std::vector<app::Favorite> favorites = app::readFavorites({});
    ASSERT_EQ(favorites.size(), 4u);
    const std::vector<app::Favorite> expected{
        {L"CW • 7,023 MHz", favourite(7023000, 4, 500, 100)},
        {L"HF • 3,700 MHz", favourite(3700000, 3, 2700, 100)},
        {L"CB 19 • 27,185 MHz", favourite(27185000, 0, 9000, 10000)},
        {L"Triple 5 • 27,555 USB", favourite(27555000, 2, 2700, 100)}};
    EXPECT_EQ(favorites, expected);
}

struct TextCase {
    const char* text;
    std::optional<hf::Settings> favorite;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class FavoriteText : public testing::TestWithParam<TextCase> {};

TEST_P(FavoriteText, NeedsFourNumbersInRange) {
    EXPECT_EQ(app::favoriteFromText(GetParam().text), GetParam().favorite);
}

INSTANTIATE_TEST_SUITE_P(
    Items, FavoriteText,
    testing::Values(TextCase{"7074000 2 2700 100", favourite(7074000, 2, 2700, 100)},
                    TextCase{"27185000 0 9000 10000 extra", favourite(27185000, 0, 9000, 10000)},
                    TextCase{"  500000 4 100 1", favourite(500000, 4, 100, 1)},
                    TextCase{"52000000 1 15000 10000", favourite(52000000, 1, 15000, 10000)},
                    TextCase{"7074000 2 2700", std::nullopt},
                    TextCase{"400000 2 2700 100", std::nullopt},
                    TextCase{"52000001 2 2700 100", std::nullopt},
                    TextCase{"-4287967296 2 2700 100", std::nullopt},
                    TextCase{"7074000 5 2700 100", std::nullopt},
                    TextCase{"7074000 -1 2700 100", std::nullopt},
                    TextCase{"7074000 2 99 100", std::nullopt},
                    TextCase{"7074000 2 15001 100", std::nullopt},
                    TextCase{"7074000 2 2700 0", std::nullopt},
                    TextCase{"7074000 2 2700 10001", std::nullopt},
                    TextCase{"7074000x 2 2700 100", std::nullopt},
                    TextCase{"99999999999999999999 2 2700 100", std::nullopt}));

TEST(Favorites, UserFavoritesFollowUnderTheirFrequency) {
    const auto favorites =
        app::readFavorites({{"Item0", "7074000 2 2700 100"}, {"Item1", "400000 2 2700 100"},
                            {"Item2", "27185000 0 9000 10000 extra"}});
    ASSERT_EQ(favorites.size(), 6u);
    EXPECT_EQ(favorites[4].first, L"Favori • 7074000 Hz");
    EXPECT_EQ(favorites[5].first, L"Favori • 27185000 Hz");
    EXPECT_EQ(userSettings(favorites), (std::vector<hf::Settings>{favourite(7074000, 2, 2700, 100),
                                                                  favourite(27185000, 0, 9000, 10000)}));
}

TEST(Favorites, AGapEndsTheList) {
    EXPECT_EQ(app::readFavorites({{"Item0", "7074000 2 2700 100"}, {"Item2", "3573000 2 2700 100"}})
                  .size(),
              5u);
    EXPECT_EQ(app::readFavorites({{"Item0", ""}, {"Item1", "3573000 2 2700 100"}}).size(), 4u);
}

TEST(Favorites, OnlyThirtyItemsAreRead) {
    app::IniSection section;
    for (int i = 0; i <= 30; ++i) section["Item" + std::to_string(i)] = "7074000 2 2700 100";
    EXPECT_EQ(app::readFavorites(section).size(), 34u);
}

TEST(Favorites, OnlyUserFavoritesAreSaved) {
    std::vector<app::Favorite> favorites = app::builtInFavorites();
    favorites.emplace_back(app::favoriteName(7074000), favourite(7074000, 2, 2700, 100));
    const std::vector<app::IniEntry> entries = app::favoriteEntries(favorites);
    ASSERT_EQ(entries.size(), 30u);
    EXPECT_EQ(entries[0], (app::IniEntry{"Item0", "7074000 2 2700 100"}));
    for (std::size_t i = 1; i < entries.size(); ++i)
        EXPECT_EQ(entries[i], (app::IniEntry{"Item" + std::to_string(i), std::nullopt}));
}

TEST(Favorites, ASkippedItemDoesNotComeBackTwice) {
    const app::IniSection file{{"Item0", "7074000 2 2700 100"},
                               {"Item1", "400000 2 2700 100"},
                               {"Item2", "3573000 2 2700 100"}};
    const auto loaded = app::readFavorites(file);
    const auto reloaded = app::readFavorites(written(file, app::favoriteEntries(loaded)));
    EXPECT_EQ(reloaded, loaded);
    EXPECT_EQ(userSettings(reloaded).size(), 2u);
}

TEST(Favorites, SavedFavoritesLoadBack) {
    std::vector<app::Favorite> favorites = app::builtInFavorites();
    for (uint32_t f : {500000u, 14074000u, 52000000u})
        favorites.emplace_back(app::favoriteName(f), favourite(f, 3, 2400, 500));
    EXPECT_EQ(app::readFavorites(written({}, app::favoriteEntries(favorites))), favorites);
}

}  // namespace
