#include "app/windows/ini_file.h"

#include "app/rules/settings_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class IniFileTest : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("ini_file_test_" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder);
        path = folder / "settings.ini";
        std::filesystem::remove(path);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string bytes() const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::filesystem::path folder;
    std::filesystem::path path;
};

TEST_F(IniFileTest, ANewFileIsUnicodeAndKeepsNamesBeyondAscii) {
    const app::IniFile file(path);
    const std::string name = "Haut-parleurs (Réaltek) • 2 ✓";
    file.write("Radio", {{"AudioName", name}, {"DeviceProduct", "Blog V4"}});
    ASSERT_GE(bytes().size(), 2u);
    EXPECT_EQ(bytes().substr(0, 2), "\xFF\xFE");
    const app::IniSection radio = app::IniFile(path).section("Radio");
    EXPECT_EQ(radio.at("AudioName"), name);
    EXPECT_EQ(radio.at("DeviceProduct"), "Blog V4");
}

TEST_F(IniFileTest, AnEntryWithoutValueRemovesTheKey) {
    const app::IniFile file(path);
    file.write("Favorites", {{"Item0", "7074000 2 2700 100"}, {"Item1", "3573000 2 2700 100"},
                             {"Item2", "14074000 2 2700 100"}});
    file.write("Favorites", {{"Item0", "7074000 2 2700 100"}, {"Item1", std::nullopt},
                             {"Item2", std::nullopt}, {"Item3", std::nullopt}});
    EXPECT_EQ(file.section("Favorites"), (app::IniSection{{"Item0", "7074000 2 2700 100"}}));
}

TEST_F(IniFileTest, AnEmptyValueIsPresentAndAMissingFileIsEmpty) {
    const app::IniFile file(path);
    EXPECT_TRUE(file.section("Radio").empty());
    file.write("Radio", {{"Frequency", ""}});
    const app::IniSection radio = file.section("Radio");
    ASSERT_EQ(radio.count("Frequency"), 1u);
    EXPECT_EQ(radio.at("Frequency"), "");
    EXPECT_EQ(app::readRadioSection(radio).radio.Frequency, 500000u);
}

TEST_F(IniFileTest, AHandWrittenFileIsReadAsText) {
    {
        std::ofstream out(path, std::ios::binary);
        out << "[Radio]\r\n; kept by hand\r\n Mode = 2 \r\nFrequency=0x1A00000\r\nMode=3\r\n"
               "SpectrumSpan\r\nAudioName=\"Haut-parleurs\"\r\nV4Serial='0001\r\n[Other]\r\nMode=1\r\n";
    }
    const app::IniSection radio = app::IniFile(path).section("radio");
    EXPECT_EQ(radio, (app::IniSection{{"Mode", "2"},
                                      {"Frequency", "0x1A00000"},
                                      {"SpectrumSpan", ""},
                                      {"AudioName", "Haut-parleurs"},
                                      {"V4Serial", "'0001"}}));
    const app::StoredSettings s = app::readRadioSection(radio);
    EXPECT_EQ(s.radio.Mode, 2);
    EXPECT_EQ(s.radio.Frequency, 500000u);  // "0x…" is no decimal number
    EXPECT_EQ(s.spectrumSpan, 12000);
}

// Through the platform's own profile functions, names with blanks at their
// ends or quotes around them read back as they were saved.
TEST_F(IniFileTest, AwkwardNamesReadBackAsSaved) {
    const std::vector<std::string> names = {"Haut-parleurs (High Definition ", " 00000001", "\tV4\t", "\"x\"",
                                            "'x'", "\"\"", "\"", "   ", std::string(255, 'S'), "S-1\x1A",
                                            "\vV4\f", "Sortie \xE3\x80\x80", "Réalté"};
    std::vector<app::IniEntry> entries;
    for (std::size_t i = 0; i < names.size(); ++i) entries.push_back({"Name" + std::to_string(i), names[i]});
    app::IniFile(path).write("Radio", entries);
    for (int pass = 0; pass < 2; ++pass) {
        // The second pass saves what the first read, as the program's next
        // run does.
        const app::IniSection radio = app::IniFile(path).section("Radio");
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(radio.at("Name" + std::to_string(i)), names[i]) << "[" << names[i] << "] pass " << pass;
        std::vector<app::IniEntry> again;
        for (const auto& [key, value] : radio) again.push_back({key, value});
        app::IniFile(path).write("Radio", again);
    }
}

TEST_F(IniFileTest, ALineBreakInANameAddsNoKey) {
    app::IniFile(path).write("Radio", {{"V4Serial", "S-1\r\nFrequency=100"}});
    const app::IniSection radio = app::IniFile(path).section("Radio");
    EXPECT_EQ(radio, (app::IniSection{{"V4Serial", "S-1  Frequency=100"}}));
}

TEST_F(IniFileTest, ALargeSectionIsReadWhole) {
    const app::IniFile file(path);
    std::vector<app::IniEntry> entries;
    for (int i = 0; i < 30; ++i) entries.push_back({"Item" + std::to_string(i), std::string(2000, 'a' + i % 26)});
    file.write("Favorites", entries);
    const app::IniSection section = file.section("Favorites");
    ASSERT_EQ(section.size(), 30u);
    EXPECT_EQ(section.at("Item29"), std::string(2000, 'a' + 29 % 26));
}

}  // namespace
