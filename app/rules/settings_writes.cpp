#include "app/rules/settings_writes.h"

#include "app/rules/calibration.h"

namespace app {

std::vector<SectionWrite> settingsFileWrites(const StoredSettings& settings,
                                             const std::vector<Favorite>& favorites,
                                             const std::optional<std::string>& audioOutputName) {
    std::vector<SectionWrite> writes;
    if (keepsCalibration(settings.dongle))
        writes.push_back({calibrationKey(settings.dongle),
                          {{calibrationPpmKey, std::to_string(settings.radio.PPM)}}});
    writes.push_back({radioSection, radioSectionEntries(settings, audioOutputName)});
    writes.push_back({favoritesSection, favoriteEntries(favorites)});
    return writes;
}

}  // namespace app
