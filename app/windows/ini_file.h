#pragma once
// The settings file through the platform's wide profile interface. Values
// are handed over as UTF-8 text; the program parses numbers itself.

#include "app/rules/ini_values.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace app {

class IniFile {
public:
    explicit IniFile(std::filesystem::path file) : file_(std::move(file)) {}

    // Every key of the section with its value; empty when the file or the
    // section is missing or cannot be read. Of a key given twice the first
    // counts, as for the platform's own lookups.
    IniSection section(std::string_view name) const;

    // Writes (or, for an entry without value, removes) the keys in order.
    // Failures are not reported: the settings stay in force for this run.
    void write(std::string_view section, const std::vector<IniEntry>& entries) const;

private:
    // A new file is started as UTF-16 with a byte-order mark, so that the
    // platform keeps non-ASCII names instead of narrowing them to a code page.
    void createIfMissing() const;

    std::filesystem::path file_;
};

}  // namespace app
