#pragma once
// The dongle list after a search: the names it shows, which entry is the
// confirmed dongle, and the status that follows.

#include "hf/records.h"

#include <string>
#include <vector>

namespace app {

inline constexpr wchar_t searchingStatus[] = L"Recherche des clés compatibles…";
inline constexpr wchar_t searchNotStartedStatus[] =
    L"Recherche des clés impossible : ressources système insuffisantes.";

// "RTL-SDR Blog V4" (with a serial number), "Nooelec NESDR SMArt v5", or
// "Clé RTL-SDR" for any other dongle.
std::wstring dongleName(const hf::Device& dongle);

// The prompt "Choisir une clé…", then the name of each dongle in order.
std::vector<std::wstring> dongleListTexts(const std::vector<hf::Device>& devices);

// The list entry of the confirmed dongle (the last one with its identity),
// or 0, the prompt: another dongle is never chosen in its place.
int rememberedSelection(const std::vector<hf::Device>& devices, const hf::Device& confirmed);

const wchar_t* searchOutcomeStatus(int selection);

}  // namespace app
