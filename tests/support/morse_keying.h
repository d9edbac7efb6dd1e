#pragma once
// Test helper: keys a text in Morse, one key state per millisecond.

#include <string>
#include <vector>

namespace hf_test {

// Key states (true = key down), one per millisecond, for `text` sent at `wpm`
// words per minute: dot = 1200 / wpm ms, dash = 3 dots, 1 dot between the
// elements of a character, 3 between characters, 7 per space of the text (so a
// trailing space adds a word gap after the last character). Element edges are
// placed at the rounded cumulative time, so the total length stays exact for
// speeds whose dot is not a whole number of ms. `leadMs` and `tailMs` ms of key
// up come before and after. Letters are taken in either case; a character that
// hf::alphabet does not hold throws std::invalid_argument.
std::vector<bool> keyMorse(const std::string& text, double wpm, int leadMs = 0, int tailMs = 0);

// The Morse pattern ("." and "-") of one character, from hf::alphabet reversed;
// throws std::invalid_argument for a character it does not hold.
const std::string& morsePattern(char c);

}  // namespace hf_test
