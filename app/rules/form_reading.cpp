#include "app/rules/form_reading.h"

#include "hf/dongle_identity.h"
#include "hf/frequency_text.h"

#include <algorithm>
#include <stdexcept>

namespace app {

namespace {

// A whole decimal number filling the text (leading blanks and a sign
// accepted). Text that is no number at all keeps the conversion's own error.
int32_t wholeNumber(const std::wstring& text, int32_t lo, int32_t hi) {
    std::size_t used = 0;
    const int value = std::stoi(text, &used, 10);
    if (used != text.size() || value < lo || value > hi)
        throw std::runtime_error("Reglage numerique hors limites.");
    return value;
}

template <typename Table>
int32_t entry(const Table& table, int selection) {
    return table[std::clamp<int>(selection, 0, static_cast<int>(table.size()) - 1)];
}

// An unselected combo must not hand the receiver a mode or threshold that
// does not exist.
constexpr int lastMode = 4;
constexpr int lastThreshold = 4;

}  // namespace

hf::Settings readForm(const FormControls& form, bool receiving, const hf::Device& dongle) {
    hf::Settings next;
    next.Frequency = static_cast<uint32_t>(hf::parseFrequency(form.frequency));
    next.Mode = std::clamp(form.modeSelection, 0, lastMode);
    if (receiving) hf::receptionPath(dongle, next.Frequency);
    next.Bandwidth = wholeNumber(form.bandwidth, 100, 15000);
    next.PPM = wholeNumber(form.ppm, -100, 100);
    next.Tone = wholeNumber(form.tone, 300, 1200);
    next.WPM = wholeNumber(form.wpm, 5, 60);
    next.Step = entry(steps, form.stepSelection);
    next.Gain = entry(gains, form.gainSelection);
    next.AutoSpeed = form.autoSpeed;
    next.RFAuto = form.rfAuto;
    next.Decode = form.decode;
    const int threshold = std::clamp(form.thresholdSelection, 0, lastThreshold);
    next.AutoThreshold = threshold == 0;
    next.Threshold = static_cast<float>(10 * threshold - 70);
    return next;
}

}  // namespace app
