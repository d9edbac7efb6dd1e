#include "app/reception_rules.h"

#include "app/receiver_messages.h"

#include <cstdlib>
#include <stdexcept>

namespace app {

namespace {

constexpr uint32_t systemDefaultOutput = 0xFFFFFFFF;

}  // namespace

DongleChoice startDongle(int listSelection, const std::vector<hf::Device>& devices,
                         const hf::Device& confirmed) {
    if (listSelection <= 0 || static_cast<std::size_t>(listSelection) > devices.size())
        return {std::nullopt, L"Choisissez explicitement une clé dans Source radio."};
    const hf::Device& chosen = devices[listSelection - 1];
    if (!hf::sameDongle(chosen, confirmed))
        return {std::nullopt, L"Sélection non confirmée — choisissez la clé dans le menu."};
    return {chosen, {}};
}

uint32_t requestedOutput(int outputSelection) {
    if (outputSelection <= 0) return systemDefaultOutput;
    return static_cast<uint32_t>(outputSelection - 1);
}

const wchar_t* startCaption(bool receiving) { return receiving ? L"● EN ÉCOUTE" : L"▶ DÉMARRER"; }

const wchar_t* pauseCaption(bool paused) { return paused ? L"▶ Reprise" : L"Ⅱ PAUSE"; }

std::wstring stoppedStatus(const std::wstring& lastError) {
    return lastError.empty() ? L"Arrêté — clé libérée" : lastError;
}

bool needsRetune(const hf::Settings& next, const hf::Settings& applied) {
    return next.center != applied.center || next.PPM != applied.PPM || next.Gain != applied.Gain ||
           next.RFAuto != applied.RFAuto;
}

int32_t nearestGain(std::span<const int> tunerGains, int32_t wanted) {
    if (tunerGains.empty()) throw std::runtime_error(gainListInvalid);
    int32_t best = tunerGains.front();
    for (const int gain : tunerGains)
        if (std::llabs(int64_t{gain} - wanted) < std::llabs(int64_t{best} - wanted)) best = gain;
    return best;
}

AfterRead afterRead(const ReadEnd& end) {
    if (!end.callbackError.empty()) throw std::runtime_error(end.callbackError);
    if (end.watchdogFired) throw std::runtime_error(noRadioData);
    if (end.stopRequested) return AfterRead::leave;
    if (end.result < 0)
        throw std::runtime_error("Erreur USB (code " + std::to_string(end.result) +
                                 "). Reception et scan arretes.");
    if (!end.retune) throw std::runtime_error(streamInterrupted);
    return AfterRead::retune;
}

}  // namespace app
