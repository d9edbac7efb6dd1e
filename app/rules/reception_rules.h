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
inline constexpr wchar_t receiverNotStartedStatus[] =
    L"Démarrage de la réception impossible : ressources système insuffisantes.";

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

// The frequency the dongle's span is centred on: `center`, or the tuned
// frequency while the form keeps no centre.
uint32_t dongleCentre(const hf::Settings& settings);

// The settings as this dongle can receive them: when it cannot receive at the
// remembered centre but can at the tuned frequency (the two lie on both sides
// of 25 MHz), the span is centred on the tuned frequency, as the form does.
hf::Settings onReceivablePath(hf::Settings settings, const hf::Device& dongle);

// The direct-sampling mode for the settings' centre on this dongle, after the
// fallback above; throws when the dongle cannot receive there at all.
uint32_t samplingMode(const hf::Settings& settings, const hf::Device& dongle);

// The frequency handed to the tuner: 12 kHz above the centre, which the
// receive chain shifts back. Throws "Frequence refusee." beyond 32 bits.
uint32_t tunerFrequency(const hf::Settings& settings);

// What the settings applier sends to the dongle. Without previous settings
// everything is set up; otherwise only what a change calls for.
struct DongleCalls {
    uint32_t mode = 0;  // for rtlsdr_set_direct_sampling
    bool samplingMode = false;
    bool correction = false;
    bool centre = false;
    bool gainMode = false;
    bool gainChoice = false;

    bool operator==(const DongleCalls&) const = default;
};

DongleCalls dongleCalls(const hf::Device& dongle, const hf::Settings& next,
                        const hf::Settings* previous);

// A change of centre, correction or gain must go to the dongle, which stops
// the stream; any other change is applied to the receive chain in place.
bool needsRetune(const hf::Settings& next, const hf::Settings& applied);

// What the read callback does with the settings the form has published.
enum class Publication { unchanged, inPlace, retune };

Publication publication(int32_t generation, const hf::Settings& published,
                        int32_t appliedGeneration, const hf::Settings& applied);

// The mailbox's CW text not yet shown, followed by a frame's: at most the last
// 20000 bytes, never starting inside a UTF-8 character.
std::string mailboxText(const std::string& waiting, const std::string& fresh);

// The tuner's gain nearest to `wanted`, the earliest of equally near ones.
// Throws "Liste des gains invalide." for an empty list.
int32_t nearestGain(std::span<const int> tunerGains, int32_t wanted);

// Why a reception ended, for the status line: once the watchdog has fired,
// always its reason, whatever step was under way or failed meanwhile (a slow
// opening ends as a silent dongle does); else the error, empty for a stop.
// A recording whose file could not be finalised (`recordingFailure`, empty
// when none) is said after it, or alone after a stop: a broken file shows
// nowhere else.
std::string endReason(bool watchdogFired, const std::string& error,
                      const std::string& recordingFailure);

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
