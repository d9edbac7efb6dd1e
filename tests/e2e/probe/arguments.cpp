#include "tests/e2e/probe/arguments.h"

#include <cerrno>
#include <climits>
#include <cwchar>
#include <stdexcept>

bool parseNumber(const std::wstring& text, int& value) {
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    errno = 0;
    const long parsed = std::wcstol(text.c_str(), &end, 0);
    if (errno != 0 || *end != L'\0' || parsed < INT_MIN || parsed > INT_MAX) return false;
    value = static_cast<int>(parsed);
    return true;
}

Arguments::Arguments(int argc, wchar_t** argv) : items(argv + 1, argv + argc) {}

std::wstring Arguments::word(const char* what) {
    if (done()) throw std::runtime_error(std::string("missing ") + what);
    return items[next++];
}

int Arguments::number(const char* what) {
    int value = 0;
    if (!parseNumber(word(what), value)) throw std::runtime_error(std::string(what) + " is not a number");
    return value;
}

int Arguments::optionalNumber(int fallback) {
    int value = 0;
    if (done() || !parseNumber(items[next], value)) return fallback;
    ++next;
    return value;
}
