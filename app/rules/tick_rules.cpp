#include "app/rules/tick_rules.h"

#include "app/rules/plot_rules.h"
#include "app/rules/value_bounds.h"
#include "hf/cb_plan.h"
#include "hf/modes.h"

#include <algorithm>
#include <cmath>

namespace app {

namespace {

// A readout that is no finite number shows 0; beyond the 64-bit range a
// figure saturates, so no conversion overflows.
std::wstring truncated(double value) {
    constexpr double limit = 9.2e18;
    return std::to_wstring(std::isfinite(value) ? static_cast<long long>(std::clamp(value, -limit, limit)) : 0LL);
}

// The history is stretched over the plot: a side beyond these would only
// cost memory. Only a plot spread over several 8K screens at 100 % is wider,
// and its waterfall is drawn stretched from 16384 columns.
constexpr int32_t historyColumnBound = 16384;
constexpr int32_t historyRowBound = 4096;

int32_t rounded(float value) { return static_cast<int32_t>(std::lround(value)); }

}  // namespace

bool frameShown(bool running, bool paused, int32_t frameGeneration, int32_t settingsGeneration) {
    return running && !paused && frameGeneration == settingsGeneration;
}

SquelchStep squelchStep(SquelchGate gate, bool scanningInCw, int32_t squelch, float level,
                        uint64_t nowMs) {
    if (scanningInCw) return {gate, true};
    const SquelchGate next = nextSquelchGate(gate, squelch, level, nowMs);
    return {next, next.open};
}

float cwTone(const std::vector<float>& narrowSpectrum, hf::Passband band, int32_t tone,
             float previous) {
    const float n = static_cast<float>(narrowSpectrum.size());
    float strongest = -150.0f;
    float shown = previous;
    for (size_t i = 0; i < narrowSpectrum.size(); ++i) {
        const float offset = (static_cast<float>(i) / n - 0.5f) * 48000.0f;
        if (offset < static_cast<float>(band.lo) || offset > static_cast<float>(band.hi)) continue;
        if (narrowSpectrum[i] > strongest) {
            strongest = narrowSpectrum[i];
            shown = offset + static_cast<float>(tone);
        }
    }
    return shown;
}

bool shownPresence(const PresenceInputs& inputs) {
    if (inputs.detected && inputs.scanning && !inputs.cw && inputs.squelch != 0)
        return inputs.squelchOpen;
    return inputs.detected;
}

void appendDecoded(std::wstring& text, std::wstring_view added) {
    text += added;
    if (text.size() > decodedTextLimit) text.erase(0, text.size() - decodedTextLimit);
}

bool fitWaterfall(std::vector<float>& history, int32_t& columns, int32_t& rows,
                  int32_t wantedColumns, int32_t wantedRows) {
    wantedColumns = std::clamp(wantedColumns, 1, historyColumnBound);
    wantedRows = std::clamp(wantedRows, 1, historyRowBound);
    if (wantedColumns == columns && wantedRows == rows && !history.empty()) return false;
    columns = wantedColumns;
    rows = wantedRows;
    history.assign(static_cast<size_t>(columns) * static_cast<size_t>(rows), -150.0f);
    return true;
}

void scrollWaterfall(std::vector<float>& history, int32_t columns) {
    const size_t width = static_cast<size_t>(std::max(columns, 0));
    if (width == 0 || history.size() <= width) return;
    std::copy_backward(history.begin(), history.end() - static_cast<std::ptrdiff_t>(width),
                       history.end());
}

PixelRect windowRect(const hf::Box& given, float scale) {
    const hf::Box box = boundedBox(given);
    const float uiScale = boundedScale(scale);
    const float left = static_cast<float>(box.x) * uiScale;
    const float top = static_cast<float>(box.y + 28) * uiScale;
    const float right = static_cast<float>(box.x + box.w) * uiScale;
    const float bottom = static_cast<float>(box.y + box.h + 28) * uiScale;
    return {rounded(left), rounded(top), rounded(right), rounded(bottom)};
}

hf::Box cwReadoutBox(const hf::UiLayout& layout, int32_t layoutWidth) {
    const int32_t left = boundedPixel(layout.plot.x) + 220;
    return {left, layout.cwTop, boundedPixel(layoutWidth) - 10 - left, 23};
}

std::wstring statusLine(const StatusInputs& in) {
    const bool cw = in.form.Mode == hf::modeCW;
    std::wstring line = in.dongleName + L" • " + modeName(in.form.Mode) + L" • local";
    const std::wstring channel = hf::cbChannelName(in.form.Frequency);
    if (!channel.empty()) line += L" • " + channel;
    if (cw) line += L" • CW " + truncated(in.frameWpm) + L" mots/min";
    if (in.scanning) {
        const wchar_t* state = in.continuousScan  ? L"CONTINU"
                               : in.signalPresent ? L"AUTO — pause signal (15 s max)"
                                                  : L"AUTO — recherche";
        line += L" • SCAN " + std::wstring(state) + L" " + std::to_wstring(in.scanIndex + 1) + L"/" +
                std::to_wstring(in.scanCount);
    }
    if (in.outOfSpan) line += L" • Accord hors champ : double-cliquer un signal pour écouter";
    if (in.scanning) {
        line += L" • filtre " + std::to_wstring(in.form.Bandwidth) + L" Hz";
        if (cbTableRange(in.rangeSelection))
            line += L" • table CB";
        else if (in.scanStep)
            line += L" • pas scan " + std::to_wstring(*in.scanStep) + L" Hz";
    }
    line += L" • SNR estimé " + truncated(in.snr) + L" dB";
    if (cw && in.signalPresent) line += L" • Ton détecté " + truncated(in.tone) + L" Hz";
    line += L" • SQ ";
    if (in.squelch != 0)
        line += std::to_wstring(int64_t{in.squelch} - 110) + L" dBFS" + (in.squelchOpen ? L" ouvert" : L" fermé");
    else
        line += L"OFF";
    if (in.underruns != 0) line += L" • reprises audio : " + std::to_wstring(in.underruns);
    if (in.lostBlocks != 0) line += L" • blocs audio perdus : " + std::to_wstring(in.lostBlocks);
    return line;
}

bool watchdogDue(bool running, bool stopRequested, uint64_t nowMs, uint64_t lastFrameMs) {
    // Signed: a base later than the clock (set on another tick) never fires.
    return running && !stopRequested && static_cast<int64_t>(nowMs - lastFrameMs) > 10000;
}

}  // namespace app
