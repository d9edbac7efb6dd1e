#include "hf/dongle_identity.h"

#include <stdexcept>
#include <string_view>

namespace hf {

namespace {

constexpr uint32_t quadrature = 0;
constexpr uint32_t qBranchDirectSampling = 2;
constexpr uint32_t lowestQuadratureHz = 25000000;

bool isModel(const Device& device, std::string_view manufacturer, std::string_view product) {
    return device.manufacturer == manufacturer && device.product == product;
}

}  // namespace

Device chooseDevice(const std::vector<Device>& found, const Device& wanted) {
    if (wanted.serial.empty())
        throw std::runtime_error("Choisissez explicitement une cle identifiable.");
    const Device* match = nullptr;
    for (const Device& device : found) {
        if (!sameDongle(device, wanted)) continue;
        if (match) throw std::runtime_error("Identite USB en double : ouverture refusee.");
        match = &device;
    }
    if (!match)
        throw std::runtime_error(
            "La cle choisie est absente ou occupee. Aucune autre cle ne sera ouverte.");
    return *match;
}

uint32_t receptionPath(const Device& device, uint32_t hz) {
    if (isV4(device) || hz >= lowestQuadratureHz) return quadrature;
    if (isModel(device, "RTLSDRBlog", "Blog V3") || isModel(device, "Nooelec", "NESDR SMArt v5"))
        return qBranchDirectSampling;
    throw std::runtime_error(
        "HF non configuree pour ce modele. Utilisez 25 a 52 MHz ou une Blog V4 / SMArt v5 "
        "reconnue.");
}

bool isV4(const Device& device) {
    return isModel(device, "RTLSDRBlog", "Blog V4") && !device.serial.empty();
}

}  // namespace hf
