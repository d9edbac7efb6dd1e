#include "hf/frequency_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <locale>
#include <stdexcept>
#include <string>

namespace {

struct Readable {
    const wchar_t* text;
    std::int64_t hz;
};

TEST(ParseFrequency, ReadsBothFormats) {
    const Readable cases[] = {
        {L"027.185.000", 27185000},
        {L"027,185,000", 27185000},
        {L"027.185,000", 27185000},
        {L"000.500.000", 500000},
        {L"052.000.000", 52000000},
        {L"27.185", 27185000},
        {L"27,185", 27185000},
        {L"7", 7000000},
        {L" 7", 7000000},
        {L"\t\n 7", 7000000},
        {L"+7", 7000000},
        {L"0,5", 500000},
        {L"52", 52000000},
        {L"7.0230005", 7023001},  // halves go away from zero
        {L"7.0230004", 7023000},
        {L"1e1", 10000000},
        {L"0x1A", 26000000},
        {L"007.023000", 7023000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "text #" << (&c - cases));
        EXPECT_EQ(hf::parseFrequency(c.text), c.hz);
    }
}

enum class Kind { invalidArgument, outOfRange, none };

struct Refusal {
    Kind kind;
    std::string message;
    bool operator==(const Refusal&) const = default;
};

void PrintTo(const Refusal& r, std::ostream* out) {
    *out << (r.kind == Kind::invalidArgument ? "invalid_argument" : r.kind == Kind::outOfRange ? "out_of_range" : "none")
         << " \"" << r.message << '"';
}

Refusal refusalOf(const std::wstring& text) {
    try {
        const auto hz = hf::parseFrequency(text);
        return {Kind::none, std::to_string(hz)};
    } catch (const std::invalid_argument& e) {
        return {Kind::invalidArgument, e.what()};
    } catch (const std::out_of_range& e) {
        return {Kind::outOfRange, e.what()};
    }
}

struct Refused {
    const wchar_t* text;
    Refusal refusal;
};

const char format[] = "Format : 027.185.000 ou 27.185 MHz.";
const char digit[] = "Chiffre de frequence invalide.";
const char invalid[] = "Frequence invalide.";
const char range[] = "Reception HF : 0,5 a 52 MHz.";

TEST(ParseFrequency, RefusesWithTheTypeAndMessageOfEachFault) {
    const Refused cases[] = {
        {L"27.185.00", {Kind::invalidArgument, format}},
        {L"0271.85.000", {Kind::invalidArgument, format}},
        {L"027.185.0000", {Kind::invalidArgument, format}},
        {L"..", {Kind::invalidArgument, format}},
        {L"0a7.185.000", {Kind::invalidArgument, digit}},
        {L"027.185.00 ", {Kind::invalidArgument, digit}},
        {L"-27.185.000", {Kind::invalidArgument, digit}},
        {L"-27.185.00", {Kind::invalidArgument, format}},
        {L"027.185.00٣", {Kind::invalidArgument, digit}},
        {L"27.185 MHz", {Kind::invalidArgument, invalid}},
        {L"7.0 ", {Kind::invalidArgument, invalid}},
        {L"7x", {Kind::invalidArgument, invalid}},
        {L"7é", {Kind::invalidArgument, invalid}},
        {L"0x", {Kind::invalidArgument, invalid}},
        {L"1.2.3.4", {Kind::invalidArgument, invalid}},
        {L"", {Kind::invalidArgument, "stod"}},
        {L"abc", {Kind::invalidArgument, "stod"}},
        {L" ", {Kind::invalidArgument, "stod"}},
        {L".", {Kind::invalidArgument, "stod"}},
        {L"-", {Kind::invalidArgument, "stod"}},
        {L"+-7", {Kind::invalidArgument, "stod"}},
        {L"--7", {Kind::invalidArgument, "stod"}},
        {L"\u00a07", {Kind::invalidArgument, "stod"}},  // no-break space is not C white space
        {L"1e999", {Kind::outOfRange, "stod"}},
        {L"-1e999", {Kind::outOfRange, "stod"}},
        {L"53", {Kind::outOfRange, range}},
        {L"0.4", {Kind::outOfRange, range}},
        {L"0.4999995", {Kind::outOfRange, range}},
        {L"52.0000001", {Kind::outOfRange, range}},
        {L"-7", {Kind::outOfRange, range}},
        {L"-0", {Kind::outOfRange, range}},
        {L"27185000", {Kind::outOfRange, range}},
        {L"1e300", {Kind::outOfRange, range}},  // finite, but not once made Hz
        {L"1e-300", {Kind::outOfRange, range}},
        {L"000.400.000", {Kind::outOfRange, range}},
        {L"999.999.999", {Kind::outOfRange, range}},
        {L"nan", {Kind::outOfRange, range}},
        {L"-nan", {Kind::outOfRange, range}},
        {L"inf", {Kind::outOfRange, range}},
        {L"-Infinity", {Kind::outOfRange, range}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "text #" << (&c - cases));
        EXPECT_EQ(refusalOf(c.text), c.refusal);
    }
}

TEST(FrequencyDisplay, PadsMegahertzAndHertz) {
    EXPECT_EQ(hf::frequencyDisplay(27185000), L"027.185000");
    EXPECT_EQ(hf::frequencyDisplay(7023000), L"007.023000");
    EXPECT_EQ(hf::frequencyDisplay(500000), L"000.500000");
    EXPECT_EQ(hf::frequencyDisplay(52000000), L"052.000000");
    EXPECT_EQ(hf::frequencyDisplay(0), L"000.000000");
    EXPECT_EQ(hf::frequencyDisplay(4294967295u), L"4294.967295");  // a field is a minimum width
}

TEST(FrequencyDisplay, ReadsBackAsTheSameFrequencyOverTheTunableRange) {
    auto roundTrip = [](std::uint32_t hz) {
        const std::wstring text = hf::frequencyDisplay(hz);
        ASSERT_EQ(text.size(), 10u);
        EXPECT_EQ(hf::parseFrequency(text), hz) << hz;
    };
    for (std::uint32_t hz = 500000; hz < 52000000; hz += 997) roundTrip(hz);
    roundTrip(52000000);
    roundTrip(27185000);
}

// Holds the C numeric locale and the C++ global locale for one test.
class ForeignLocale : public testing::Test {
protected:
    ~ForeignLocale() override {
        std::setlocale(LC_NUMERIC, savedNumeric.c_str());
        std::locale::global(savedGlobal);
    }

    // Some locale whose decimal separator is a comma, or false when the
    // system has none installed.
    static bool useDecimalComma() {
        for (const char* name : {"fr_FR.UTF-8", "fr_FR.utf8", "fr_FR", "de_DE.UTF-8", "de_DE.utf8", "French", "fr-FR"}) {
            if (std::setlocale(LC_NUMERIC, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0)
                return true;
        }
        return false;
    }

    std::string savedNumeric = std::setlocale(LC_NUMERIC, nullptr);
    std::locale savedGlobal;
};

TEST_F(ForeignLocale, DecimalCommaLocaleChangesNoReading) {
    if (!useDecimalComma()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(hf::parseFrequency(L"27.185"), 27185000);
    EXPECT_EQ(hf::parseFrequency(L"27,185"), 27185000);
    EXPECT_EQ(hf::parseFrequency(L"7.0230005"), 7023001);
    EXPECT_EQ(hf::parseFrequency(L"0x1.8p4"), 24000000);
    EXPECT_EQ(refusalOf(L"27.185 MHz"), (Refusal{Kind::invalidArgument, invalid}));
    EXPECT_EQ(refusalOf(L"1e999"), (Refusal{Kind::outOfRange, "stod"}));
    EXPECT_EQ(hf::frequencyDisplay(27185000), L"027.185000");
}

struct ThousandsGrouping : std::numpunct<wchar_t> {
    std::string do_grouping() const override { return "\3"; }
    wchar_t do_thousands_sep() const override { return L' '; }
};

TEST_F(ForeignLocale, GroupingGlobalLocaleLeavesTheDisplayWhole) {
    std::locale::global(std::locale(std::locale::classic(), new ThousandsGrouping));
    EXPECT_EQ(hf::frequencyDisplay(27185000), L"027.185000");
    EXPECT_EQ(hf::frequencyDisplay(4294967295u), L"4294.967295");
}

}  // namespace
