#pragma once
// What the main window's construction and layout compute from values: the
// items and first selections of the choices, the slider positions, the UI
// scale, the scaled font sizes and where each control goes in window pixels.

#include "hf/ui_layout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

// Items of the combo boxes, in order.
inline constexpr std::array<const wchar_t*, 5> modeItems{L"AM", L"FM", L"USB", L"LSB", L"CW"};
inline constexpr std::array<const wchar_t*, 7> stepItems{L"10 Hz", L"50 Hz", L"100 Hz", L"500 Hz",
                                                         L"1 kHz", L"5 kHz", L"10 kHz"};
inline constexpr std::array<const wchar_t*, 7> gainItems{L"0 dB",  L"10 dB", L"20 dB", L"28 dB",
                                                         L"36 dB", L"44 dB", L"49 dB"};
inline constexpr std::array<const wchar_t*, 5> thresholdItems{L"Auto", L"−60 dBFS", L"−50 dBFS",
                                                              L"−40 dBFS", L"−30 dBFS"};
inline constexpr std::array<const wchar_t*, 4> spanItems{L"12 kHz", L"48 kHz", L"96 kHz", L"480 kHz"};
// The scan ranges (130) and the visible choice (121), which lacks "Favoris".
inline constexpr std::array<const wchar_t*, 9> scanRangeItems{
    L"CB complète", L"CW 7 MHz", L"HF dès 3 MHz", L"Plage personnalisée", L"Favoris",
    L"6 m — 50 à 52 MHz", L"CB inférieure", L"CB normale — 40 canaux", L"CB supérieure"};
inline constexpr std::array<const wchar_t*, 8> visibleScanRangeItems{
    L"CB complète", L"CW 7 MHz", L"HF dès 3 MHz", L"Plage personnalisée",
    L"6 m — 50 à 52 MHz", L"CB inférieure", L"CB normale — 40 canaux", L"CB supérieure"};
inline constexpr std::array<const wchar_t*, 2> scanModeItems{L"Auto", L"Continu"};
inline constexpr wchar_t defaultOutputItem[] = L"Sortie Windows par défaut";
inline constexpr wchar_t unavailableOutputItem[] = L"Sortie indisponible";

inline constexpr int initialScanRangeItem = 1;  // "CW 7 MHz", shown at start
inline constexpr int customRangeItem = 3;     // "Plage personnalisée": only it has editable ends

// The gain item nearest to `gain` (tenths of a dB); of two as near, the lower.
int gainSelection(int32_t gain);

// "Auto" when the threshold is automatic, else the item of the threshold
// truncated to whole dB: -60 dBFS below -60, -30 dBFS from -20 on.
int thresholdSelection(bool autoThreshold, float threshold);

// 12, 48 or 96 kHz by their items; any other span shows 480 kHz.
int spanSelection(int32_t spectrumSpan);

// The squelch slider's position, 0 to 100, for a squelch of 0 to 110. (The
// volume slider shows volumePercent, the settings file's own figure.)
int squelchPosition(int32_t squelch);

// The audio output item for the remembered name, given the device names that
// follow the default output (item k + 1 is outputNames[k]): the last exact
// match, or 0, the default output, when none matches.
int audioOutputSelection(const std::vector<std::wstring>& outputNames, const std::wstring& remembered);

// Device pixels per logical pixel: the window's DPI over 96 (1 when unknown),
// never more than lets 1020 × 700 logical pixels fit in the work area.
float uiScale(std::optional<uint32_t> windowDpi, int32_t workWidth, int32_t workHeight);

// A logical length in device pixels, the product in single precision.
int32_t scaled(int32_t logical, float scale);

// The character heights (CreateFont's negative heights) and the combo item
// height for a scale.
struct FontSizes {
    int32_t ui = 0;
    int32_t frequency = 0;
    int32_t compactFrequency = 0;
    int32_t comboItem = 0;
    bool operator==(const FontSizes&) const = default;
};
FontSizes fontSizes(float scale);

// The logical client size for a layout: width, and height below the caption band.
struct LogicalSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const LogicalSize&) const = default;
};
LogicalSize logicalClientSize(int32_t clientRight, int32_t clientBottom, float scale);

// The combos whose window reaches below their box, for the opened list.
bool opensListBelow(int id);

// Where a laid-out box goes in window pixels, below the caption band; the
// combos of opensListBelow get their list's room added to the height.
hf::Box windowBox(int id, const hf::Box& box, float scale);
hf::Box plotWindowBox(const hf::Box& plot, float scale);

// Drop-down list widths in logical pixels: dongles, audio outputs, scan ranges.
inline constexpr int32_t dongleListWidth = 330;
inline constexpr int32_t outputListWidth = 430;
inline constexpr int32_t scanRangeListWidth = 270;

// Captions that the layout sets: the manual step row (320 to 326), the first
// three span buttons (340 to 342) and the start button (100).
inline constexpr std::array<const wchar_t*, 7> stepCaptions{L"10 Hz", L"50 Hz", L"100 Hz", L"500",
                                                            L"1 k",   L"5 k",   L"10 k"};
inline constexpr std::array<const wchar_t*, 3> spanCaptions{L"12 k", L"48 k", L"96 k"};
const wchar_t* listenCaption(bool running, bool paused);

}  // namespace app
