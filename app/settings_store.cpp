#include "app/app.h"
#include "app/rules/control_ids.h"

#include "app/rules/calibration.h"
#include "app/rules/favorites.h"
#include "app/rules/settings_file.h"
#include "app/rules/settings_writes.h"
#include "app/windows/ini_file.h"
#include "platform/text.h"

#include <shlobj.h>

#include <optional>
#include <string>

namespace {

// The per-user local application-data folder; where the platform cannot name
// one, the program's own folder, so that the settings still persist.
std::filesystem::path applicationDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)) &&
        folder[0] != L'\0')
        return folder;
    wchar_t program[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::filesystem::current_path();
    return std::filesystem::path(program).parent_path();
}

app::StoredSettings storedSettings(const App& a) {
    app::StoredSettings s;
    s.radio = a.uiSettings;
    s.dongle = a.selectedDevice;
    s.volume = a.volume.load();
    s.squelch = a.squelch;
    s.scanDwellMs = a.scanDwellMs;
    s.audioName = narrow(a.audioName);
    s.spectrumSpan = a.spectrumSpan;
    s.spectrumTop = a.spectrumTop;
    s.spectrumRange = a.spectrumRange;
    s.waterfallRange = a.waterfallRange;
    s.waterfallContrast = a.waterfallContrast;
    s.waterfallLight = a.waterfallLight;
    return s;
}

}  // namespace

void App::load() {
    settingsFolder = applicationDataFolder() / L"HFOrvande";
    std::filesystem::create_directories(settingsFolder);
    settingsFile = settingsFolder / L"settings.ini";
    const app::IniFile file(settingsFile);

    const app::StoredSettings s = app::readRadioSection(file.section(app::radioSection));
    selectedDevice = s.dongle;
    uiSettings = s.radio;
    uiSettings.center = 0;
    volume.store(s.volume);
    squelch = s.squelch;
    scanDwellMs = s.scanDwellMs;
    audioName = wide(s.audioName);
    spectrumSpan = s.spectrumSpan;
    spectrumTop = s.spectrumTop;
    spectrumRange = s.spectrumRange;
    waterfallRange = s.waterfallRange;
    waterfallContrast = s.waterfallContrast;
    waterfallLight = s.waterfallLight;

    defaults();
    const auto stored = app::readFavorites(file.section(app::favoritesSection));
    favorites.insert(favorites.end(), stored.begin() + app::builtInFavoriteCount, stored.end());
}

void App::save() {
    // Without a loaded location a relative name would land in the system folder.
    if (settingsFile.empty()) return;
    std::optional<std::string> audioOutputName;
    if (const auto list = controls.find(app::audioOutputList); list != controls.end())
        audioOutputName = narrow(text(list->second));
    const app::IniFile file(settingsFile);
    for (const app::SectionWrite& w :
         app::settingsFileWrites(storedSettings(*this), favorites, audioOutputName))
        file.write(w.section, w.entries);
}

std::wstring App::calibrationKey(const hf::Device& device) {
    return wide(app::calibrationKey(device));
}

void App::defaults() {
    const auto builtIn = app::builtInFavorites();
    favorites.insert(favorites.end(), builtIn.begin(), builtIn.end());
}

void App::favoriteList() {
    const auto list = controls.find(app::favoritesList);
    if (list == controls.end()) return;
    SendMessageW(list->second, LB_RESETCONTENT, 0, 0);
    for (const auto& [name, settings] : favorites)
        SendMessageW(list->second, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}
