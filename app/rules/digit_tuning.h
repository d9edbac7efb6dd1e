#pragma once
// Tuning the frequency field digit by digit: which digit a step changes, by how
// much, and which digit stays selected afterwards; and which digit a point of
// the field lies on.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

// The character a step acts on: the selection start, kept inside the text; a
// decimal point passes the step on to the digit at its right.
int tunedPosition(const std::wstring& text, int selectionStart);

// The value in Hz of one unit of the digit at `position`, or 0 when that is no
// digit of the number, or one finer than 1 Hz. Grouped Hz ("027.185.000")
// count from the end; decimal MHz ("7.1", "7,023", "007.023000") from the
// decimal point, as the user reads them.
int64_t digitUnit(const std::wstring& text, int position);

struct DigitStep {
    uint32_t frequency = 0;
    std::wstring text;   // the field's display form of `frequency`
    int selection = 0;   // the one character to select in `text`
};

// One step of `direction` (+1 or -1) on the digit the selection names,
// clamped to the band. Nothing when the text is no frequency.
std::optional<DigitStep> stepDigit(const std::wstring& text, int selectionStart, int direction);

// The digit whose cell holds x, or -1. `lefts` are the characters' left edges
// (one per character of `text`), `rightEdge` the last character's right edge.
int digitAt(const std::wstring& text, const std::vector<int>& lefts, int rightEdge, int x);

}  // namespace app
