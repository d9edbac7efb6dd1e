#include "app/rules/digit_tuning.h"

#include <algorithm>
#include <exception>

#include "hf/frequency_text.h"

namespace app {

namespace {

constexpr int64_t lowestHz = 500000;
constexpr int64_t highestHz = 52000000;
constexpr int largestExponent = 18;  // still far from overflowing a sum in Hz

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool isPoint(wchar_t c) { return c == L'.' || c == L','; }
bool isBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

int64_t powerOfTen(int exponent) {
    int64_t value = 1;
    for (int i = 0; i < std::min(exponent, largestExponent); ++i) value *= 10;
    return value;
}

int digitsBetween(const std::wstring& text, size_t from, size_t to) {
    return static_cast<int>(std::count_if(text.begin() + from, text.begin() + to, isDigit));
}

// Decimal MHz: optional blanks and sign, then digits with at most one point,
// to the end of the text. Exponents and hexadecimal are read by the parser
// but have no digit places to step.
int64_t decimalUnit(const std::wstring& text, size_t position) {
    size_t begin = 0;
    while (begin < text.size() && isBlank(text[begin])) ++begin;
    if (begin < text.size() && (text[begin] == L'+' || text[begin] == L'-')) ++begin;
    if (position < begin) return 0;
    size_t point = text.size();
    for (size_t i = begin; i < text.size(); ++i) {
        if (isDigit(text[i])) continue;
        if (!isPoint(text[i]) || point != text.size()) return 0;
        point = i;
    }
    if (position < point) return powerOfTen(6 + digitsBetween(text, position + 1, point));
    const int decimals = digitsBetween(text, point + 1, position + 1);
    return decimals <= 6 ? powerOfTen(6 - decimals) : 0;
}

}  // namespace

int tunedPosition(const std::wstring& text, int selectionStart) {
    int position = std::min(selectionStart, static_cast<int>(text.size()) - 1);
    if (position >= 0 && isPoint(text[position])) ++position;
    return position;
}

int64_t digitUnit(const std::wstring& text, int position) {
    if (position < 0 || position >= static_cast<int>(text.size()) || !isDigit(text[position])) return 0;
    const auto at = static_cast<size_t>(position);
    if (std::count_if(text.begin(), text.end(), isPoint) == 2)
        return powerOfTen(digitsBetween(text, at + 1, text.size()));
    return decimalUnit(text, at);
}

std::optional<DigitStep> stepDigit(const std::wstring& text, int selectionStart, int direction) {
    const int position = tunedPosition(text, selectionStart);
    int64_t frequency = 0;
    try {
        frequency = hf::parseFrequency(text);
    } catch (const std::exception&) {
        return std::nullopt;  // a half-typed frequency: Enter reports it, a step stays silent
    }
    const int64_t unit = digitUnit(text, position);
    if (unit > 0) frequency = std::clamp(frequency + direction * unit, lowestHz, highestHz);

    DigitStep step;
    step.frequency = static_cast<uint32_t>(frequency);
    step.text = hf::frequencyDisplay(step.frequency);
    const int length = static_cast<int>(step.text.size());
    int same = -1;
    for (int i = 0; unit > 0 && i < length && same < 0; ++i)
        if (digitUnit(step.text, i) == unit) same = i;
    // Without a digit of that place, stay at the same distance from the end.
    const int fromEnd = length + position - static_cast<int>(text.size());
    step.selection = same >= 0 ? same : std::max(fromEnd, 0);
    return step;
}

int digitAt(const std::wstring& text, const std::vector<int>& lefts, int rightEdge, int x) {
    if (text.empty() || lefts.size() != text.size()) return -1;
    for (size_t i = 0; i < lefts.size(); ++i) {
        const int right = i + 1 < lefts.size() ? lefts[i + 1] : rightEdge;
        if (lefts[i] <= x && x < right) return isDigit(text[i]) ? static_cast<int>(i) : -1;
    }
    return -1;
}

}  // namespace app
