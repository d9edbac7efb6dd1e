#include "app/rules/search_rules.h"

#include "hf/dongle_identity.h"

namespace app {

std::wstring dongleName(const hf::Device& dongle) {
    if (hf::isV4(dongle)) return L"RTL-SDR Blog V4";
    if (dongle.manufacturer == "Nooelec" && dongle.product == "NESDR SMArt v5")
        return L"Nooelec NESDR SMArt v5";
    return L"Clé RTL-SDR";
}

std::vector<std::wstring> dongleListTexts(const std::vector<hf::Device>& devices) {
    std::vector<std::wstring> texts{L"Choisir une clé…"};
    for (const hf::Device& dongle : devices) texts.push_back(dongleName(dongle));
    return texts;
}

int rememberedSelection(const std::vector<hf::Device>& devices, const hf::Device& confirmed) {
    int selection = 0;
    for (std::size_t i = 0; i < devices.size(); ++i)
        if (hf::sameDongle(devices[i], confirmed)) selection = static_cast<int>(i) + 1;
    return selection;
}

const wchar_t* searchOutcomeStatus(int selection) {
    return selection != 0 ? L"Clé mémorisée retrouvée — prête"
                          : L"Choisissez une clé disponible. Aucune substitution automatique.";
}

}  // namespace app
