#pragma once
// Reading the main window's form into receiver settings, refusing any value
// the receiver must not get.

#include "hf/records.h"

#include <array>
#include <cstdint>
#include <string>

namespace app {

// Values of the step combo (106) and of the RF gain combo (108), by item.
inline constexpr std::array<int32_t, 7> steps{10, 50, 100, 500, 1000, 5000, 10000};
inline constexpr std::array<int32_t, 7> gains{0, 100, 200, 280, 360, 440, 490};

// The raw values of the form's controls; a selection is -1 when none is made.
struct FormControls {
    std::wstring frequency;       // 101
    int modeSelection = 4;        // 105
    std::wstring bandwidth;       // 107
    std::wstring ppm;             // 109
    std::wstring tone;            // 110
    std::wstring wpm;             // 111
    int stepSelection = 2;        // 106
    int gainSelection = 3;        // 108
    bool autoSpeed = true;        // 112
    bool rfAuto = false;          // 128
    bool decode = true;           // 114
    int thresholdSelection = 0;   // 113: "Auto", then -60 to -30 dBFS
};

// Every field but `center` (left 0, for chooseCentre). Throws, with the text
// the user is shown, the first refusal: the frequency text's own, the
// dongle's refusal of the frequency while `receiving`, then
// "Reglage numerique hors limites." or "stoi" for the four number edits.
hf::Settings readForm(const FormControls& form, bool receiving, const hf::Device& dongle);

}  // namespace app
