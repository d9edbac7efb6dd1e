#include "app/rules/reception_rules.h"

#include "app/rules/receiver_messages.h"
#include "hf/dongle_identity.h"

#include <cstdlib>
#include <stdexcept>

namespace app {

namespace {

constexpr uint32_t systemDefaultOutput = 0xFFFFFFFF;
constexpr uint64_t tunerOffsetHz = 12000;
constexpr std::size_t mailboxTextBytes = 20000;

bool receivable(const hf::Device& dongle, uint32_t hz) {
    try {
        hf::receptionPath(dongle, hz);
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

bool utf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

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

uint32_t dongleCentre(const hf::Settings& settings) {
    return settings.center != 0 ? settings.center : settings.Frequency;
}

hf::Settings onReceivablePath(hf::Settings settings, const hf::Device& dongle) {
    if (!receivable(dongle, dongleCentre(settings)) && receivable(dongle, settings.Frequency))
        settings.center = settings.Frequency;
    return settings;
}

uint32_t samplingMode(const hf::Settings& settings, const hf::Device& dongle) {
    return hf::receptionPath(dongle, dongleCentre(onReceivablePath(settings, dongle)));
}

uint32_t tunerFrequency(const hf::Settings& settings) {
    const uint64_t hz = uint64_t{dongleCentre(settings)} + tunerOffsetHz;
    if (hz > UINT32_MAX) throw std::runtime_error(frequencyRefused);
    return static_cast<uint32_t>(hz);
}

DongleCalls dongleCalls(const hf::Device& dongle, const hf::Settings& next,
                        const hf::Settings* previous) {
    DongleCalls calls;
    calls.mode = samplingMode(next, dongle);
    const bool direct = calls.mode != 0;
    if (!previous) {
        calls.samplingMode = calls.correction = calls.centre = true;
        calls.gainMode = !direct;
        calls.gainChoice = !direct && !next.RFAuto;
        return calls;
    }
    const hf::Settings& p = *previous;
    const uint32_t previousMode = samplingMode(p, dongle);
    const bool leavingDirect = previousMode != 0;
    calls.samplingMode = calls.mode != previousMode;
    calls.correction = next.PPM != p.PPM;
    calls.centre = dongleCentre(next) != dongleCentre(p) || calls.correction;
    if (direct) return calls;
    calls.gainMode = next.RFAuto != p.RFAuto || leavingDirect;
    calls.gainChoice = !next.RFAuto && (p.RFAuto || next.Gain != p.Gain || leavingDirect);
    return calls;
}

bool needsRetune(const hf::Settings& next, const hf::Settings& applied) {
    return dongleCentre(next) != dongleCentre(applied) || next.PPM != applied.PPM ||
           next.Gain != applied.Gain || next.RFAuto != applied.RFAuto;
}

Publication publication(int32_t generation, const hf::Settings& published,
                        int32_t appliedGeneration, const hf::Settings& applied) {
    if (generation == appliedGeneration) return Publication::unchanged;
    return needsRetune(published, applied) ? Publication::retune : Publication::inPlace;
}

std::string mailboxText(const std::string& waiting, const std::string& fresh) {
    const std::size_t total = waiting.size() + fresh.size();
    if (total <= mailboxTextBytes) return waiting + fresh;
    std::string text;
    text.reserve(mailboxTextBytes);
    const std::size_t drop = total - mailboxTextBytes;
    if (drop < waiting.size())
        text.append(waiting, drop, std::string::npos).append(fresh);
    else
        text.append(fresh, drop - waiting.size(), std::string::npos);
    std::size_t start = 0;
    while (start < text.size() && utf8Continuation(text[start])) ++start;
    text.erase(0, start);
    return text;
}

int32_t nearestGain(std::span<const int> tunerGains, int32_t wanted) {
    if (tunerGains.empty()) throw std::runtime_error(gainListInvalid);
    int32_t best = tunerGains.front();
    for (const int gain : tunerGains)
        if (std::llabs(int64_t{gain} - wanted) < std::llabs(int64_t{best} - wanted)) best = gain;
    return best;
}

std::string endReason(bool watchdogFired, const std::string& error,
                      const std::string& recordingFailure) {
    const std::string reason = watchdogFired ? noRadioData : error;
    if (recordingFailure.empty() || reason == recordingFailure) return reason;
    return reason.empty() ? recordingFailure : reason + " " + recordingFailure;
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
