#pragma once
// Each dongle's own frequency correction, kept in a settings-file section
// named after its USB identity.

#include "app/rules/ini_values.h"
#include "hf/records.h"

#include <cstdint>
#include <string>

namespace app {

inline constexpr char calibrationPpmKey[] = "PPM";

// "Device_" and the decimal 64-bit FNV-1a hash (start value
// 0x6d2b79f5a3c1e847) of manufacturer "|" product "|" serial. Existing files
// depend on every detail of it.
std::string calibrationKey(const hf::Device& dongle);

// Only a dongle with a serial number is told apart from its twins, so only
// such a dongle keeps its correction.
bool keepsCalibration(const hf::Device& dongle);

// The correction stored in the dongle's section: -4 for an RTL-SDR Blog V4
// and 0 for others when none is stored, clamped to -100 .. 100.
int32_t storedCorrection(const IniSection& section, const hf::Device& dongle);

}  // namespace app
