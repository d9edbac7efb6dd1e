#pragma once
// What the form shows for a settings record: the choices that depend on the
// mode, the dongle and the step.

#include "hf/records.h"

#include <array>
#include <cstdint>

namespace app {

// Captions of the three bandwidth preset buttons (400 to 402).
std::array<const wchar_t*, 3> presetCaptions(int32_t mode);

// The widths those buttons stand for: CW's, else the voice modes'.
std::array<int32_t, 3> presetWidths(int32_t mode);

// Whether the RF gain combo (108) and "Gain auto" (128) can act: not on the
// two models that receive below 25 MHz by direct sampling, bypassing the tuner.
bool gainControlsEnabled(const hf::Device& dongle, uint32_t frequency);

// The step combo's item for `step`; a step outside the table shows 100 Hz.
int stepSelection(int32_t step);

// Whether a publication changes what the button rows light: the mode row,
// the step row and the filter presets, which show the form's bandwidth.
bool choiceRowsChange(const hf::Settings& before, const hf::Settings& after);

}  // namespace app
