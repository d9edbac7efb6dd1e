#include "hf/frequency_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <locale>
#include <sstream>
#include <stdexcept>

namespace hf {

namespace {

constexpr double lowestHz = 500000;
constexpr double highestHz = 52000000;

bool isClassicSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The text as the "C" locale sees it: a character outside ASCII can belong to
// no number, so it becomes one that stops the reading.
std::string classicChars(const std::wstring& text) {
    std::string chars(text.size(), '\x7f');
    std::transform(text.begin(), text.end(), chars.begin(), [](wchar_t c) {
        return static_cast<std::uint32_t>(c) < 0x80 ? static_cast<char>(c) : '\x7f';
    });
    return chars;
}

// std::stod with the classic "C" rules, so a locale with a decimal comma
// cannot change what a text means: skips leading white space, takes a sign,
// decimal or hexadecimal digits, "inf" and "nan"; `used` gets the number of
// characters read.
double classicStod(const std::wstring& text, std::size_t& used) {
    const std::string chars = classicChars(text);
    const char* const begin = chars.data();
    const char* const end = begin + chars.size();
    const char* p = std::find_if_not(begin, end, isClassicSpace);
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+')) ++p;

    double magnitude = 0;
    std::from_chars_result read{p, std::errc::invalid_argument};
    const bool signAgain = p != end && (*p == '-' || *p == '+');
    const bool hex = end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
                     (isHexDigit(p[2]) || (p[2] == '.' && end - p > 3 && isHexDigit(p[3])));
    if (hex)
        read = std::from_chars(p + 2, end, magnitude, std::chars_format::hex);
    else if (!signAgain)
        read = std::from_chars(p, end, magnitude);

    if (read.ec == std::errc::invalid_argument) throw std::invalid_argument("stod");
    if (read.ec == std::errc::result_out_of_range) throw std::out_of_range("stod");
    used = static_cast<std::size_t>(read.ptr - begin);
    return negative ? -magnitude : magnitude;
}

bool isGroupedHz(const std::wstring& text) {
    return !text.empty() && std::count(text.begin(), text.end(), L'.') == 2;
}

double groupedHz(const std::wstring& text) {
    if (text.size() != 11 || text[3] != L'.' || text[7] != L'.')
        throw std::invalid_argument("Format : 027.185.000 ou 27.185 MHz.");
    std::int64_t hz = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 3 || i == 7) continue;
        if (text[i] < L'0' || text[i] > L'9') throw std::invalid_argument("Chiffre de frequence invalide.");
        hz = hz * 10 + (text[i] - L'0');
    }
    return static_cast<double>(hz);
}

double decimalMHz(const std::wstring& text) {
    std::size_t used = 0;
    const double mhz = classicStod(text, used);
    if (used != text.size()) throw std::invalid_argument("Frequence invalide.");
    return mhz * 1000000.0;
}

}  // namespace

std::int64_t parseFrequency(std::wstring text) {
    std::replace(text.begin(), text.end(), L',', L'.');
    const double hz = isGroupedHz(text) ? groupedHz(text) : decimalMHz(text);
    if (!std::isfinite(hz) || hz < lowestHz || hz > highestHz)
        throw std::out_of_range("Reception HF : 0,5 a 52 MHz.");
    return std::llround(hz);
}

std::wstring frequencyDisplay(std::uint32_t hz) {
    std::wostringstream out;
    // A global locale with digit grouping would otherwise split the Hz field.
    out.imbue(std::locale::classic());
    out.fill(L'0');
    out.width(3);
    out << hz / 1000000 << L'.';
    out.width(6);
    out << hz % 1000000;
    return out.str();
}

}  // namespace hf
