#pragma once
// Decisions of reception control: whether a start may open the chosen dongle,
// the captions and status texts of starting and stopping, and on the receiver
// thread how a settings change and the end of a read are handled.

#include "hf/records.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace app {

inline constexpr wchar_t stoppingStatus[] = L"Arrêt de la réception…";
inline constexpr wchar_t searchRunningStatus[] = L"Attendez la fin de la recherche des clés.";
inline constexpr wchar_t openingStatus[] = L"Ouverture de la clé sélectionnée…";
inline constexpr wchar_t closingAfterSearchStatus[] = L"Recherche en cours, fermeture dès sa fin.";
inline constexpr wchar_t closingReceptionStatus[] = L"Fermeture de la réception…";
inline constexpr wchar_t recordAudioCaption[] = L"Enregistrer l’audio";
inline constexpr wchar_t startScanCaption[] = L"▶ Démarrer";

// The dongle a start may open, or the status text that refuses the start.
struct DongleChoice {
    std::optional<hf::Device> dongle;
    std::wstring refusal;
};

// The entry chosen in the dongle list (0 is the prompt, p stands for
// devices[p - 1]) may be opened only when it is the confirmed identity.
DongleChoice startDongle(int listSelection, const std::vector<hf::Device>& devices,
                         const hf::Device& confirmed);

// The waveOut device for the audio output list's entry: entry 0, or none
// selected, is the system default (0xFFFFFFFF); entry k is device k - 1.
uint32_t requestedOutput(int outputSelection);

const wchar_t* startCaption(bool receiving);
const wchar_t* pauseCaption(bool paused);

// The status once reception has ended: the receiver's error, if any.
std::wstring stoppedStatus(const std::wstring& lastError);

// A change of centre, correction or gain must go to the dongle, which stops
// the stream; any other change is applied to the receive chain in place.
bool needsRetune(const hf::Settings& next, const hf::Settings& applied);

// The tuner's gain nearest to `wanted`, the earliest of equally near ones.
// Throws "Liste des gains invalide." for an empty list.
int32_t nearestGain(std::span<const int> tunerGains, int32_t wanted);

// How the asynchronous read returned.
struct ReadEnd {
    std::string callbackError;  // kept by the read callback, empty if none
    bool watchdogFired = false;
    bool stopRequested = false;
    int result = 0;             // of rtlsdr_read_async
    bool retune = false;        // the callback asked for a retune
};

enum class AfterRead { leave, retune };

// Leave the read loop on a stop request, retune when the callback asked for
// it; otherwise throws the reason reception ends.
AfterRead afterRead(const ReadEnd& end);

}  // namespace app
