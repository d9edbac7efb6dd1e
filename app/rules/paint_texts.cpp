#include "app/rules/paint_texts.h"

#include "hf/modes.h"

#include <cmath>
#include <limits>

namespace app {

namespace {

// A shown figure truncated toward zero; one that is no number shows 0 and
// one beyond the integers saturates, so no conversion overflows.
std::wstring whole(float value) {
    if (std::isnan(value)) return L"0";
    constexpr float limit = 2147483520.0f;  // the largest float below 2^31
    const float clamped = std::fmax(-limit, std::fmin(limit, value));
    return std::to_wstring(static_cast<int32_t>(clamped));
}

}  // namespace

bool frequencyLit(bool running, bool paused, bool signalPresent) {
    return running && !paused && signalPresent;
}

const wchar_t* maximiseSign(bool maximised) { return maximised ? L"❐" : L"□"; }

int32_t captionOffset(const std::wstring& caption) {
    for (const wchar_t* shallow : {L"FILTRE AUDIO", L"SCANNER", L"AFFICHAGE SPECTRE", L"SPECTRE"})
        if (caption == shallow) return 3;
    return 6;
}

std::wstring squelchValueText(int32_t squelch) {
    if (squelch == 0) return L"OFF";
    return std::to_wstring(std::lround(squelch * 100.0 / 110.0)) + L" %";
}

std::wstring volumeValueText(float volume) {
    return std::to_wstring(std::lround(volume * 100.0f)) + L" %";
}

std::wstring dongleSerialText(const std::wstring& serial) {
    return serial.empty() ? L"Non sélectionnée" : serial;
}

const wchar_t* dongleChoiceText(int listSelection) {
    return listSelection > 0 ? L"Mémorisée" : L"À choisir";
}

std::wstring informationLine(float snr, int32_t mode, bool signalPresent, float tone, float wpm) {
    std::wstring line = L"SNR estimé : " + whole(snr) + L" dB";
    if (mode == hf::modeCW) {
        line += L" • Ton : ";
        line += signalPresent ? whole(tone) + L" Hz" : L"—";
        line += L" • " + whole(wpm) + L" mots/min";
    }
    return line;
}

}  // namespace app
