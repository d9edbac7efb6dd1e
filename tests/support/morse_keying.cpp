#include "tests/support/morse_keying.h"

#include <cctype>
#include <cmath>
#include <map>
#include <stdexcept>

#include "hf/morse.h"

namespace hf_test {

const std::string& morsePattern(char c) {
    static const std::map<char, std::string> patterns = [] {
        std::map<char, std::string> reversed;
        for (const auto& [pattern, ch] : hf::alphabet()) reversed[ch] = pattern;
        return reversed;
    }();
    const auto it = patterns.find(char(std::toupper(static_cast<unsigned char>(c))));
    if (it == patterns.end()) throw std::invalid_argument(std::string("no Morse code for '") + c + "'");
    return it->second;
}

std::vector<bool> keyMorse(const std::string& text, double wpm, int leadMs, int tailMs) {
    if (!(wpm > 0.0)) throw std::invalid_argument("wpm must be positive");
    const double dot = 1200.0 / wpm;

    // The text as runs in dot units, key up first when a gap is due.
    std::vector<std::pair<bool, int>> units;
    bool pendingChar = false;  // a character was sent and its following gap is not yet laid
    int spaces = 0;
    for (const char c : text) {
        if (c == ' ') {
            ++spaces;
            continue;
        }
        const std::string& pattern = morsePattern(c);
        if (spaces > 0) {
            units.push_back({false, 7 * spaces});
        } else if (pendingChar) {
            units.push_back({false, 3});
        }
        spaces = 0;
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            if (i > 0) units.push_back({false, 1});
            units.push_back({true, pattern[i] == '-' ? 3 : 1});
        }
        pendingChar = true;
    }
    if (spaces > 0) units.push_back({false, 7 * spaces});

    std::vector<bool> keys(std::size_t(std::max(leadMs, 0)), false);
    const std::size_t origin = keys.size();
    double unitTime = 0.0;
    for (const auto& [down, n] : units) {
        const auto start = origin + std::size_t(std::lround(unitTime * dot));
        unitTime += n;
        const auto end = origin + std::size_t(std::lround(unitTime * dot));
        keys.resize(end, false);
        for (std::size_t i = start; i < end; ++i) keys[i] = down;
    }
    keys.resize(keys.size() + std::size_t(std::max(tailMs, 0)), false);
    return keys;
}

}  // namespace hf_test
