#pragma once
// The texts the main window paints from the receiver's state, and the few
// placements that depend on them.

#include <cstdint>
#include <string>

namespace app {

inline constexpr wchar_t windowTitle[] = L"KALVORE HF — HF Orvande — 0.5.6";

// Lit: the frequency panel's border and digits while a signal is heard.
bool frequencyLit(bool running, bool paused, bool signalPresent);

// The sign of the maximise button: "restore" while maximised.
const wchar_t* maximiseSign(bool maximised);

// Panel captions sit 3 pixels below the panel top in the shallow panels of
// the middle row and the scanner, 6 pixels elsewhere.
int32_t captionOffset(const std::wstring& caption);

// Beside the sliders: the squelch setting (0..110, 0 = off) and the volume
// (0..1) as percentages.
std::wstring squelchValueText(int32_t squelch);
std::wstring volumeValueText(float volume);

// The chosen dongle's serial, and whether the dongle list points at a stored
// dongle (entry above 0).
std::wstring dongleSerialText(const std::wstring& serial);
const wchar_t* dongleChoiceText(int listSelection);

// The line under the plot: the SNR, and in CW the tone (while a signal is
// present) and the speed, each shown truncated toward zero; `mode` is the
// settings' mode index.
std::wstring informationLine(float snr, int32_t mode, bool signalPresent, float tone, float wpm);

}  // namespace app
