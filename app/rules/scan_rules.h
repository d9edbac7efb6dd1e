#pragma once
// The frequency scanner's rules: its lists of entries, the span it views them
// with, and the dwell on each entry, decided frame by frame against a clock.

#include "app/rules/favorites.h"
#include "app/rules/control_ids.h"
#include "hf/records.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace app {


inline constexpr wchar_t scanStartedCaption[] = L"● Scan en cours";
inline constexpr wchar_t tuningCaption[] = L"Accord…";
inline constexpr wchar_t scanBoxCaption[] = L"Scan";

// A range limit typed in MHz (a comma reads as a point): its frequency in Hz.
// Throws the conversion's own "stod", or "Limites du scan : 0,5 a 52 MHz."
// for a text with more after the number, or outside 0.5 to 52 MHz.
uint32_t scanLimit(std::wstring text);

// The entries of scan range `rangeItem` (an item of combo 130), built on the
// applied form `form`. A frequency range reads its limits through
// `readLimit(131)` and `readLimit(132)`, and throws when the end lies before
// the start or the range would hold more than 100000 entries. An item of no
// range gives no entries.
std::vector<hf::Settings> scanEntries(int rangeItem, const hf::Settings& form,
                                      const std::function<uint32_t(int)>& readLimit,
                                      const std::vector<Favorite>& favorites);

// The form that shows scan entry `index`: the entry's own settings, the
// form's manual step, and the centre in use, except for the first entry, for
// which the form chooses a fresh centre.
hf::Settings scanEntryForm(const hf::Settings& entry, std::size_t index, const hf::Settings& form);

// The span a range is viewed with; nothing when the view stays as it is.
std::optional<int32_t> scanSpan(int rangeItem);

// The dwell moves on at the dwell time, signal or not, in "Continu" (item 1
// of combo 133), and in "Auto" while an active squelch is closed outside CW.
bool timedDwell(int dwellModeItem, int32_t mode, int32_t squelch, bool squelchOpen);

// The scanner's counters for the applied entry.
struct DwellState {
    int32_t generation = 0;     // settings generation of the entry
    int32_t frames = 0;         // frames of that generation counted so far
    uint64_t dwellStartMs = 0;  // clock at the first counted frame
    uint64_t lastSignalMs = 0;  // clock at the last frame with a signal, 0 = none
};

struct DwellFrame {
    int32_t generation;
    bool signalPresent;
    uint64_t nowMs;
};

enum class DwellAction { none, caption, hop };

// One frame's decision: count it when it is of the entry's generation, then
// wait (refreshing the countdown caption) or move on to the next entry.
DwellAction dwellStep(DwellState& state, const DwellFrame& frame, bool timed, int32_t dwellMs);

// The countdown shown on the scanner's button: "Recherche", "Écoute" or
// "Reprise", then the whole seconds left, rounded up, and " s".
std::wstring dwellCaption(const DwellState& state, bool timed, bool signalPresent,
                          uint64_t nowMs, int32_t dwellMs);

}  // namespace app
