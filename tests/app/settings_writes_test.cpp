#include "app/rules/settings_writes.h"

#include "app/rules/calibration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> sectionsOf(const std::vector<app::SectionWrite>& writes) {
    std::vector<std::string> names;
    for (const app::SectionWrite& w : writes) names.push_back(w.section);
    return names;
}

TEST(SettingsWrites, ADongleWithoutSerialKeepsNoCorrection) {
    app::StoredSettings s;
    s.dongle = {0, "RTLSDRBlog", "Blog V4", ""};
    EXPECT_EQ(sectionsOf(app::settingsFileWrites(s, app::builtInFavorites(), std::nullopt)),
              (std::vector<std::string>{"Radio", "Favorites"}));
}

TEST(SettingsWrites, EachSerialKeepsItsOwnCorrection) {
    app::StoredSettings s;
    s.radio.PPM = -13;
    s.dongle = {0, "RTLSDRBlog", "Blog V4", "00000001"};
    const auto first = app::settingsFileWrites(s, app::builtInFavorites(), std::nullopt);
    s.dongle.serial = "00000002";
    const auto second = app::settingsFileWrites(s, app::builtInFavorites(), std::nullopt);
    ASSERT_EQ(first.size(), 3u);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(first[0], (app::SectionWrite{app::calibrationKey({0, "RTLSDRBlog", "Blog V4", "00000001"}),
                                           {{"PPM", "-13"}}}));
    EXPECT_NE(first[0].section, second[0].section);
    EXPECT_EQ(sectionsOf(first).at(1), "Radio");
}

TEST(SettingsWrites, WithoutUserFavouritesNoItemIsWritten) {
    const auto writes = app::settingsFileWrites({}, app::builtInFavorites(), std::nullopt);
    const app::SectionWrite& favourites = writes.back();
    EXPECT_EQ(favourites.section, "Favorites");
    // Every key a longer list could have left, Item0 to Item29, is removed.
    ASSERT_EQ(favourites.entries.size(), 30u);
    for (std::size_t i = 0; i < favourites.entries.size(); ++i) {
        EXPECT_EQ(favourites.entries[i].key, "Item" + std::to_string(i));
        EXPECT_FALSE(favourites.entries[i].value) << favourites.entries[i].key;
    }
}

}  // namespace
