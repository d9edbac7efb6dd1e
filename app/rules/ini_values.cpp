#include "app/rules/ini_values.h"

#include <algorithm>
#include <limits>

namespace app {

namespace {

char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr std::string_view blanks = " \t";

// Bytes that the platform's profile functions may take off the ends of a
// value: blanks and control characters, and those of any non-ASCII
// character, some of which are spaces to them.
bool mayBeTrimmed(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' || byte >= 0x7F;
}

}  // namespace

bool IniKeyLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return lowered(x) < lowered(y); });
}

std::string readValue(std::string_view written) {
    const std::size_t first = written.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const std::string_view value = written.substr(first, written.find_last_not_of(blanks) - first + 1);
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return std::string(quoted ? value.substr(1, value.size() - 2) : value);
}

std::string writtenValue(std::string_view value) {
    std::string kept(value);
    // A line break would end the line and start another, read as a key of
    // its own: it cannot be kept in the file, so it is kept out as a blank.
    std::replace_if(kept.begin(), kept.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const bool plainEnds = !kept.empty() && !mayBeTrimmed(kept.front()) && !mayBeTrimmed(kept.back());
    if (kept.empty() || (plainEnds && readValue(kept) == kept)) return kept;
    std::string quoted;
    quoted.reserve(kept.size() + 2);
    return quoted.append(1, '"').append(kept).append(1, '"');
}

int64_t leadingInteger(std::string_view value) {
    std::size_t at = value.find_first_not_of(blanks);
    if (at == std::string_view::npos) return 0;
    const bool negative = value[at] == '-';
    if (negative) ++at;
    constexpr int64_t limit = std::numeric_limits<int64_t>::max();
    int64_t magnitude = 0;
    for (; at < value.size() && isDigit(value[at]); ++at) {
        const int digit = value[at] - '0';
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    return negative ? -magnitude : magnitude;
}

std::optional<int64_t> storedNumber(const IniSection& section, std::string_view key) {
    const auto found = section.find(key);
    if (found == section.end()) return std::nullopt;
    return leadingInteger(found->second);
}

}  // namespace app
