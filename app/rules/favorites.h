#pragma once
// Favourites: the four built-in ones, and the user's as the "Favorites"
// section stores them ("Item0" to "Item29", each "frequency mode bandwidth
// step").

#include "app/rules/ini_values.h"
#include "hf/records.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace app {

inline constexpr char favoritesSection[] = "Favorites";
inline constexpr std::size_t builtInFavoriteCount = 4;
inline constexpr std::size_t maxUserFavorites = 30;

using Favorite = std::pair<std::wstring, hf::Settings>;

// "CW • 7,023 MHz", "HF • 3,700 MHz", "CB 19 • 27,185 MHz", "Triple 5 • 27,555 USB".
std::vector<Favorite> builtInFavorites();

// "Favori • 7074000 Hz".
std::wstring favoriteName(uint32_t frequency);

// The default settings with the four stored fields, or nothing when the text
// does not begin with four numbers in range (what follows them is ignored).
std::optional<hf::Settings> favoriteFromText(std::string_view text);
std::string favoriteText(const hf::Settings& favorite);

// The built-in favourites, then the user's from "Item0" on: an absent or
// empty item ends the list, a refused one is skipped.
std::vector<Favorite> readFavorites(const IniSection& section);

// The user favourites (those after the built-in ones) as "Item0", "Item1", …,
// and the removal of every later item up to "Item29", so that an item left
// over from a longer list never comes back at the next start.
std::vector<IniEntry> favoriteEntries(const std::vector<Favorite>& favorites);

}  // namespace app
