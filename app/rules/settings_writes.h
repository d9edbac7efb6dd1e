#pragma once
// Everything one save writes into the settings file, section by section.

#include "app/rules/favorites.h"
#include "app/rules/ini_values.h"
#include "app/rules/settings_file.h"

#include <optional>
#include <string>
#include <vector>

namespace app {

struct SectionWrite {
    std::string section;
    std::vector<IniEntry> entries;
    bool operator==(const SectionWrite&) const = default;
};

// The dongle's own correction (only for a dongle with a serial number), the
// "Radio" section, then the user favourites.
std::vector<SectionWrite> settingsFileWrites(const StoredSettings& settings,
                                             const std::vector<Favorite>& favorites,
                                             const std::optional<std::string>& audioOutputName);

}  // namespace app
