#include "hf/cb_plan.h"

#include <algorithm>
#include <stdexcept>

namespace hf {

namespace {

constexpr std::int64_t bandShift = 450000;
constexpr std::uint32_t normalBandTop = 27405000;

struct Band {
    int block;
    const wchar_t* suffix;
};

constexpr std::array<Band, 3> bands{{{-1, L" inférieur"}, {0, L""}, {+1, L" supérieur"}}};

std::uint32_t shifted(std::uint32_t hz, int block) {
    return static_cast<std::uint32_t>(hz + bandShift * block);
}

}  // namespace

std::wstring cbChannelName(std::uint32_t hz) {
    for (const Band& band : bands) {
        for (std::size_t n = 0; n < cbFrequency.size(); ++n) {
            if (shifted(cbFrequency[n], band.block) != hz) continue;
            std::wstring name = L"Canal " + std::to_wstring(n + 1) + band.suffix;
            if (hz == 27555000) name += L" — Triple 5";
            return name;
        }
    }
    return {};
}

std::vector<std::uint32_t> cbScanFrequencies() {
    std::vector<std::uint32_t> list;
    list.reserve(bands.size() * cbFrequency.size());
    for (const Band& band : bands)
        for (std::uint32_t hz : cbFrequency) list.push_back(shifted(hz, band.block));
    std::sort(list.begin(), list.end());
    return list;
}

std::vector<Settings> cbScanSettings(const Settings& settingsTemplate) {
    std::vector<Settings> list;
    auto add = [&](std::uint32_t hz, int mode, int bandwidth) {
        Settings entry = settingsTemplate;
        entry.Frequency = hz;
        entry.Mode = mode;
        entry.Bandwidth = bandwidth;
        list.push_back(entry);
    };
    for (std::uint32_t hz : cbScanFrequencies()) {
        if (hz <= normalBandTop) {
            add(hz, 0, 9000);
            add(hz, 1, 12000);
        } else {
            add(hz, 2, 2700);
        }
    }
    return list;
}

std::vector<Settings> cbBlockScanSettings(const Settings& settingsTemplate, int block) {
    if (block < -1 || block > 1) throw std::out_of_range("Bloc CB invalide");
    const std::uint32_t low = shifted(cbFrequency.front(), block);
    const std::uint32_t high = shifted(normalBandTop, block);
    std::vector<Settings> list = cbScanSettings(settingsTemplate);
    std::erase_if(list, [&](const Settings& s) { return s.Frequency < low || s.Frequency > high; });
    return list;
}

}  // namespace hf
