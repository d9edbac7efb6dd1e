#pragma once
// The "Radio" section of the settings file: its keys, their defaults, what a
// loaded value is turned into, and the texts saved back.

#include "app/rules/ini_values.h"
#include "hf/records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

inline constexpr char radioSection[] = "Radio";

// Everything the "Radio" section holds, as the program uses it.
struct StoredSettings {
    hf::Settings radio;  // `center` is never stored
    hf::Device dongle{0, "RTLSDRBlog", "Blog V4", ""};
    float volume = 0.65f;
    int32_t squelch = 0;
    int32_t scanDwellMs = 2000;
    std::string audioName;  // UTF-8
    int32_t spectrumSpan = 480000;
    int32_t spectrumTop = -20;
    int32_t spectrumRange = 100;
    int32_t waterfallRange = 65;
    int32_t waterfallContrast = 50;
    int32_t waterfallLight = 50;
};

// A missing key takes its default and a value out of range is clamped or
// replaced: loading never fails, whatever the file holds.
StoredSettings readRadioSection(const IniSection& section);

// The keys to write, in the file's order; "AudioName" last, only when the
// audio output list exists to give it.
std::vector<IniEntry> radioSectionEntries(const StoredSettings& settings,
                                          const std::optional<std::string>& audioOutputName);

// The volume as the slider and the file show it, 0 to 100, to the nearest
// step, so that a volume read back is the volume saved.
int32_t volumePercent(float volume);
float volumeFromPercent(int32_t percent);

}  // namespace app
