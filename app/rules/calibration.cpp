#include "app/rules/calibration.h"

#include "hf/dongle_identity.h"

#include <algorithm>

namespace app {

namespace {

uint64_t identityHash(const hf::Device& dongle) {
    const std::string identity = dongle.manufacturer + "|" + dongle.product + "|" + dongle.serial;
    uint64_t hash = 0x6d2b79f5a3c1e847ull;
    for (const char c : identity) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

}  // namespace

std::string calibrationKey(const hf::Device& dongle) {
    return "Device_" + std::to_string(identityHash(dongle));
}

bool keepsCalibration(const hf::Device& dongle) { return !dongle.serial.empty(); }

int32_t storedCorrection(const IniSection& section, const hf::Device& dongle) {
    const int64_t fallback = hf::isV4(dongle) ? -4 : 0;
    return static_cast<int32_t>(
        std::clamp<int64_t>(storedNumber(section, calibrationPpmKey).value_or(fallback), -100, 100));
}

}  // namespace app
