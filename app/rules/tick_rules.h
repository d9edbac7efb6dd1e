#pragma once
// Decisions of the display tick: what a received frame changes in the
// readouts, the squelch, the signal-present state, the CW text, the waterfall
// history and the status line, and when the watchdog stops a silent reception.

#include "app/rules/paint_colour.h"
#include "app/rules/squelch_gate.h"
#include "hf/passband.h"
#include "hf/records.h"
#include "hf/ui_layout.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// Only a frame of the settings in force is shown, and nothing while paused.
bool frameShown(bool running, bool paused, int32_t frameGeneration, int32_t settingsGeneration);

// The scanner listening in CW keeps the audio open and leaves the gate as it is.
struct SquelchStep {
    SquelchGate gate;
    bool open = true;
};
SquelchStep squelchStep(SquelchGate gate, bool scanningInCw, int32_t squelch, float level,
                        uint64_t nowMs);

// The CW tone: the strongest in-band bin of the narrow spectrum plus the
// tone setting; `previous` when no in-band bin stands above -150 dB.
float cwTone(const std::vector<float>& narrowSpectrum, hf::Passband band, int32_t tone,
             float previous);

// What the signal-present state becomes for the detector's decision. While
// the scanner hops in a mode other than CW with the squelch set, the squelch
// has the last word on a detected signal.
struct PresenceInputs {
    bool detected = false;
    bool scanning = false;
    bool cw = false;
    int32_t squelch = 0;
    bool squelchOpen = true;
};
bool shownPresence(const PresenceInputs& inputs);

// The decoded CW text keeps its newest units only.
inline constexpr std::size_t decodedTextLimit = 20000;
void appendDecoded(std::wstring& text, std::wstring_view added);

// Makes the history `columns` × `rows` of -150 dB when its size changed (or
// it is empty); returns whether it was refilled.
bool fitWaterfall(std::vector<float>& history, int32_t& columns, int32_t& rows,
                  int32_t wantedColumns, int32_t wantedRows);
// Moves every row down one, dropping the oldest; row 0 is left to be filled.
void scrollWaterfall(std::vector<float>& history, int32_t columns);

// A box of the main window's layout in window pixels: moved below the
// 28-pixel caption band and scaled, each edge rounded to the nearest pixel.
PixelRect windowRect(const hf::Box& box, float uiScale);

// The CW decoder's readout line, from `plot`.x + 220 to 10 px short of the
// window's right edge.
hf::Box cwReadoutBox(const hf::UiLayout& layout, int32_t layoutWidth);

struct StatusInputs {
    std::wstring dongleName;
    hf::Settings form;
    double frameWpm = 0.0;
    bool scanning = false;
    bool continuousScan = false;  // the dwell combo's "Continu"
    int rangeSelection = 0;
    std::size_t scanIndex = 0;
    std::size_t scanCount = 0;
    std::optional<int64_t> scanStep;
    bool signalPresent = false;
    bool outOfSpan = false;
    float snr = 0.0f;
    float tone = 0.0f;
    int32_t squelch = 0;
    bool squelchOpen = true;
    uint32_t underruns = 0;
    uint32_t lostBlocks = 0;
};
std::wstring statusLine(const StatusInputs& inputs);

inline constexpr wchar_t watchdogStatus[] = L"Absence de données radio — arrêt de la V4 en cours…";

// A running reception that nothing has asked to stop, without a frame for
// more than 10 s.
bool watchdogDue(bool running, bool stopRequested, uint64_t nowMs, uint64_t lastFrameMs);

}  // namespace app
