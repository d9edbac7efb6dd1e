#pragma once
// The command dispatcher's fixed tables and small decisions: mode defaults,
// filter presets, the button rows and the combos they drive, the scan range
// mirror and its limit texts, the manual step, the favourite add and the
// dongle choice.

#include "hf/records.h"
#include "app/rules/control_ids.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace app {

// The band the user may tune.
inline constexpr uint32_t lowestFrequency = 500000;
inline constexpr uint32_t highestFrequency = 52000000;

// Status texts and box texts of the dispatcher.
inline constexpr wchar_t voicePresetsOnlyStatus[] = L"Préréglages voix disponibles en LSB et USB.";
inline constexpr wchar_t pausedStatus[] = L"Pause — clé conservée, scan et enregistrement suspendus";
inline constexpr wchar_t resumedStatus[] = L"Reprise de la réception";
inline constexpr wchar_t outputRememberedStatus[] = L"Sortie audio mémorisée";
inline constexpr wchar_t outputSwitchingStatus[] = L"Changement de sortie audio…";
inline constexpr wchar_t recordNeedsReceptionStatus[] =
    L"Démarrez la réception avant l’enregistrement.";
inline constexpr wchar_t dongleInUseText[] =
    L"Pour changer de clé, cliquez d’abord sur STOP. La clé actuellement en écoute reste "
    L"sélectionnée.";
inline constexpr wchar_t dongleChoiceCaption[] = L"Choix de la clé";
inline constexpr wchar_t textSaveFailed[] = L"Enregistrement impossible.";
inline constexpr wchar_t textSaveCaption[] = L"Texte CW";
inline constexpr wchar_t recordingCaption[] = L"■ Terminer le WAV";

// The caption of the mute button in either state.
const wchar_t* muteCaption(bool muted);

struct ModeDefaults {
    int32_t bandwidth;
    int32_t step;
};

// The bandwidth and step a mode starts with; an unknown mode gets 2700 and 100.
ModeDefaults modeDefaults(int32_t mode);

// The bandwidth of preset 0, 1 or 2 (buttons 400 to 402) in CW, USB or LSB;
// nothing in AM and FM, which have no presets.
std::optional<int32_t> presetBandwidth(int32_t mode, int preset);

// The frequency one manual step down (direction -1) or up (+1), kept within
// the receivable 0.5 to 52 MHz.
uint32_t steppedFrequency(uint32_t frequency, int32_t step, int direction);

// Span combo 125: item to view width in Hz (the way back is spanSelection).
int32_t spanOfItem(int item);

// What a button of the mode, step, span or scan-range row selects in its
// hidden combo; nothing for an id of no row. The range row depends on the
// range chosen now (`currentRange`, an item of 130).
struct RowChoice {
    int combo;
    int item;
};
std::optional<RowChoice> rowChoice(int id, int currentRange);

// The dwell time of a dwell-row button (380 to 383), nothing for other ids.
std::optional<int32_t> dwellOfButton(int id);

// The visible mirror combo 121 lists the ranges of 130 without "Favoris":
// the mirror item of a range (-1 for "Favoris"), and the range of a mirror item.
int mirrorItem(int rangeItem);
int rangeOfMirrorItem(int mirrorItem);

// The start and end texts (MHz) written into 131 and 132 for a range; nothing
// for "Plage personnalisée" and "Favoris", which leave the fields as they are.
struct RangeTexts {
    const wchar_t* start;
    const wchar_t* end;
};
std::optional<RangeTexts> rangeTexts(int rangeItem);

// At most 34 favourites: the 4 built-in ones and 30 of the user's.
bool mayAddFavorite(std::size_t favoriteCount);

// A recalled favourite brings its frequency, mode, bandwidth and step; the
// rest of the settings stays as it is.
hf::Settings recalledFavorite(hf::Settings current, const hf::Settings& favorite);

// The dongle list's entry of the dongle in use: i + 1 for the entry of
// `devices` equal to it in all three strings, else 0 (the prompt). The index
// is not compared: the confirmed identity keeps none across a restart, and
// the reception opened the dongle by its strings wherever it was listed.
int dongleInUseItem(const std::vector<hf::Device>& devices, const hf::Device& inUse);

// The entry of `devices` that list item `item` stands for; nothing for the
// prompt (item 0), no selection or an item beyond the list.
std::optional<std::size_t> chosenDongle(int item, std::size_t deviceCount);

}  // namespace app
