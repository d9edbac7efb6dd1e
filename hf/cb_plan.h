#pragma once
// The 27 MHz CB band plan: channel names and the scanner's CB lists.

#include "hf/records.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace hf {

// cbFrequency[n - 1] is channel n, in Hz. Channels 23 to 25 are out of
// ascending order in the band plan itself.
inline constexpr std::array<std::uint32_t, 40> cbFrequency{
    26965000, 26975000, 26985000, 27005000, 27015000, 27025000, 27035000, 27055000,
    27065000, 27075000, 27085000, 27105000, 27115000, 27125000, 27135000, 27155000,
    27165000, 27175000, 27185000, 27205000, 27215000, 27225000, 27255000, 27235000,
    27245000, 27265000, 27275000, 27285000, 27295000, 27305000, 27315000, 27325000,
    27335000, 27345000, 27355000, 27365000, 27375000, 27385000, 27395000, 27405000,
};

// "Canal 19", "Canal 19 inférieur", "Canal 12 supérieur — Triple 5"; empty
// when the frequency is no channel of the lower, normal or upper band.
std::wstring cbChannelName(std::uint32_t hz);

// The 120 channel frequencies of the three bands, ascending.
std::vector<std::uint32_t> cbScanFrequencies();

// One entry per channel and mode (AM then FM up to the normal band, USB in the
// upper band); every field but Frequency, Mode and Bandwidth is the template's.
std::vector<Settings> cbScanSettings(const Settings& settingsTemplate);

// The entries of one band: block -1 lower, 0 normal, +1 upper; any other
// block throws std::out_of_range.
std::vector<Settings> cbBlockScanSettings(const Settings& settingsTemplate, int block);

}  // namespace hf
