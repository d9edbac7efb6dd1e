#include "app/rules/ini_values.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Names a sound card or a dongle's EEPROM may give, which the reader of the
// file would change if they were written as they are.
const std::string awkwardValues[] = {
    "Haut-parleurs (High Definition ",  // a waveOut name cut at 31 characters
    " 00000001",
    "\tV4\t",
    "   ",
    "\"x\"",
    "'x'",
    "\"\"",
    "''",
    "\"",
    "'",
    "\"x'",
    "\" padded \"",
    "\"\"\"\"",
    "",
    "S-1\x1A",
    "\vV4\f",
    "x\x7F",
    "Sortie \xE3\x80\x80",  // ends with an ideographic space
    "Haut-parleurs Réalté",
    std::string(255, 'S'),
    [] {
        std::string padded(255, 'S');
        padded.front() = padded.back() = ' ';
        return padded;
    }(),
};

TEST(IniValues, EveryTextReadsBackByteForByte) {
    for (const std::string& value : awkwardValues) {
        const std::string written = app::writtenValue(value);
        EXPECT_EQ(app::readValue(written), value) << "[" << value << "] written as [" << written << "]";
        // The platform may keep or drop blanks around what was written.
        EXPECT_EQ(app::readValue(" " + written + "\t"), value) << "[" << value << "]";
    }
}

TEST(IniValues, PlainValuesAreWrittenAsTheyAre) {
    for (const std::string value :
         {"Blog V4", "RTLSDRBlog", "00000001", "-13", "Haut-parleurs (Réaltek) • 2", "a \"b\" c", "\"a", "b'"})
        EXPECT_EQ(app::writtenValue(value), value);
}

// No line of the file can hold a line break, and one written as it is would
// add a key of its own: it is kept out as a blank.
TEST(IniValues, ALineBreakCannotStartAKeyOfItsOwn) {
    for (const std::string value : {"S-1\nFrequency=100", "a\r\nb", "\n"}) {
        const std::string written = app::writtenValue(value);
        EXPECT_EQ(written.find_first_of("\r\n"), std::string::npos) << written;
        std::string blanked = value;
        for (char& c : blanked)
            if (c == '\r' || c == '\n') c = ' ';
        EXPECT_EQ(app::readValue(written), blanked);
    }
}

struct HandWritten {
    const char* line;
    const char* value;
};

class ReadValue : public testing::TestWithParam<HandWritten> {};

// Files written by hand or by an older version read as they always did.
TEST_P(ReadValue, TrimsThenTakesOffOnePairOfQuotes) {
    EXPECT_EQ(app::readValue(GetParam().line), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadValue,
    testing::Values(HandWritten{"  2 ", "2"}, HandWritten{"\"Haut-parleurs\"", "Haut-parleurs"},
                    HandWritten{" '0001' ", "0001"}, HandWritten{"'0001", "'0001"},
                    HandWritten{"\"\"\"\"", "\"\""}, HandWritten{"\"'", "\"'"},
                    HandWritten{"\t\t", ""}, HandWritten{"", ""}));

}  // namespace
