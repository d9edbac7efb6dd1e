#pragma once
// The probe's command line as a stream of words: each command takes its
// fixed arguments, then an optional time limit when the next word is a number.

#include <cstddef>
#include <string>
#include <vector>

class Arguments {
public:
    Arguments(int argc, wchar_t** argv);

    bool done() const { return next == items.size(); }

    // The next word; throws naming `what` when there is none.
    std::wstring word(const char* what);

    // The next word as a decimal or 0x-hexadecimal integer.
    int number(const char* what);

    // The next word when it is a number, else `fallback` (nothing consumed).
    int optionalNumber(int fallback);

private:
    std::vector<std::wstring> items;
    std::size_t next = 0;
};

// `text` as a whole integer, or false when it is not one.
bool parseNumber(const std::wstring& text, int& value);
