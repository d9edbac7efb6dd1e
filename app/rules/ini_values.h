#pragma once
// Values of the settings file as text. The program reads every value as a
// string and parses it itself, so that a file loads the same whatever the
// platform's own INI number reader would make of it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// INI keys match whatever their case, as in the platform's profile files.
struct IniKeyLess {
    bool operator()(std::string_view a, std::string_view b) const;
    using is_transparent = void;
};

// The keys present in one section with their values, UTF-8. A key that is
// present with an empty value is not the same as an absent key: the reader of
// the file must list what the section holds.
using IniSection = std::map<std::string, std::string, IniKeyLess>;

// One key to write; no value means the key is to be removed.
struct IniEntry {
    std::string key;
    std::optional<std::string> value;
    bool operator==(const IniEntry&) const = default;
};

// A value as the file's line holds it, read as the platform's single-key
// reader would: blanks and tabs at both ends taken off, then one pair of
// matching quotes around the whole, so a hand-quoted name reads as the name.
std::string readValue(std::string_view written);

// What to write so that readValue, and the platform's profile functions
// before it, give the value back byte for byte: the value itself, or, where
// reading could change it (a blank, a control or a non-ASCII character at an
// end, matching quotes around it), the value inside one more pair of double
// quotes. Plain values are written as they are, so files read as they always
// did. A line break, which no line of the file can hold, is written as a blank.
std::string writtenValue(std::string_view value);

// The value's leading decimal integer with an optional minus sign (leading
// blanks skipped), 0 when it does not begin with one; a number too long for
// 64 bits saturates, so that it clamps to the nearer end of any range.
int64_t leadingInteger(std::string_view value);

// The key's number by leadingInteger, or nothing when the key is absent.
std::optional<int64_t> storedNumber(const IniSection& section, std::string_view key);

}  // namespace app
