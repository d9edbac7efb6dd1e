#include "app/rules/favorites.h"

#include <locale>
#include <sstream>

namespace app {

namespace {

std::string itemKey(std::size_t index) { return "Item" + std::to_string(index); }

hf::Settings favorite(uint32_t frequency, int32_t mode, int32_t bandwidth, int32_t step) {
    hf::Settings s;
    s.Frequency = frequency;
    s.Mode = mode;
    s.Bandwidth = bandwidth;
    s.Step = step;
    return s;
}

bool within(long long value, long long lo, long long hi) { return lo <= value && value <= hi; }

}  // namespace

std::vector<Favorite> builtInFavorites() {
    return {
        {L"CW • 7,023 MHz", favorite(7023000, 4, 500, 100)},
        {L"HF • 3,700 MHz", favorite(3700000, 3, 2700, 100)},
        {L"CB 19 • 27,185 MHz", favorite(27185000, 0, 9000, 10000)},
        {L"Triple 5 • 27,555 USB", favorite(27555000, 2, 2700, 100)},
    };
}

std::wstring favoriteName(uint32_t frequency) {
    return L"Favori • " + std::to_wstring(frequency) + L" Hz";
}

std::optional<hf::Settings> favoriteFromText(std::string_view text) {
    // Read wide, so that a negative frequency is refused rather than wrapped.
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    long long frequency = 0, mode = 0, bandwidth = 0, step = 0;
    if (!(in >> frequency >> mode >> bandwidth >> step)) return std::nullopt;
    if (!within(frequency, 500000, 52000000) || !within(mode, 0, 4) ||
        !within(bandwidth, 100, 15000) || !within(step, 1, 10000))
        return std::nullopt;
    return favorite(static_cast<uint32_t>(frequency), static_cast<int32_t>(mode),
                    static_cast<int32_t>(bandwidth), static_cast<int32_t>(step));
}

std::string favoriteText(const hf::Settings& f) {
    return std::to_string(f.Frequency) + ' ' + std::to_string(f.Mode) + ' ' +
           std::to_string(f.Bandwidth) + ' ' + std::to_string(f.Step);
}

std::vector<Favorite> readFavorites(const IniSection& section) {
    std::vector<Favorite> favorites = builtInFavorites();
    for (std::size_t i = 0; i < maxUserFavorites; ++i) {
        const auto item = section.find(itemKey(i));
        if (item == section.end() || item->second.empty()) break;
        if (const auto settings = favoriteFromText(item->second))
            favorites.emplace_back(favoriteName(settings->Frequency), *settings);
    }
    return favorites;
}

std::vector<IniEntry> favoriteEntries(const std::vector<Favorite>& favorites) {
    std::vector<IniEntry> entries;
    for (std::size_t i = 0; i < maxUserFavorites; ++i) {
        const std::size_t at = builtInFavoriteCount + i;
        if (at < favorites.size())
            entries.push_back({itemKey(i), favoriteText(favorites[at].second)});
        else
            entries.push_back({itemKey(i), std::nullopt});
    }
    return entries;
}

}  // namespace app
