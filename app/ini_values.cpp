#include "app/ini_values.h"

#include <algorithm>
#include <limits>

namespace app {

namespace {

char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool IniKeyLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return lowered(x) < lowered(y); });
}

std::string_view unquoted(std::string_view value) {
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

int64_t leadingInteger(std::string_view value) {
    std::size_t at = value.find_first_not_of(" \t");
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
