#pragma once
// What the stand-in library simulates: its dongles with their faults, and the
// scene of signals that every dongle receives.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct DongleSpec {
    std::string manufacturer = "RTLSDRBlog";
    std::string product = "Blog V4";
    std::string serial = "00000001";
    // What rtlsdr_get_usb_strings reports once the dongle is open, when it
    // differs from the enumerated strings.
    std::optional<std::string> openedManufacturer;
    std::optional<std::string> openedProduct;
    std::optional<std::string> openedSerial;
    std::vector<int> gains = {0,   9,   14,  27,  37,  77,  87,  125, 144, 157, 166, 197, 207, 229, 254,
                              280, 297, 328, 338, 364, 372, 386, 402, 421, 434, 439, 445, 480, 496};
    // The count reported when asked with a null array, when it must differ
    // from the list's size.
    std::optional<int> gainsCount;
    // What the call with the array returns, when it must differ from the count.
    std::optional<int> gainsArrayResult;
    // Entry points, named without their "rtlsdr_" prefix, that fail with -1.
    std::set<std::string> refused;
    // The read returns readResult on its own after that many buffers.
    std::optional<uint32_t> readEndsAfter;
    int readResult = -4;
    // After that many buffers the read delivers nothing more until cancelled.
    std::optional<uint32_t> stallAfter;
    // Entry points, named as for `refused`, that take slowMs before they
    // act, as a dongle on a slow bus would.
    std::set<std::string> slow;
    uint32_t slowMs = 0;
    // rtlsdr_close takes this long, as a dongle slow to let go would.
    uint32_t closeDelayMs = 0;

    bool refuses(const std::string& entryPoint) const { return refused.count(entryPoint) != 0; }
    uint32_t delayOf(const std::string& entryPoint) const { return slow.count(entryPoint) != 0 ? slowMs : 0; }
};

enum class SignalKind { Carrier, Am, Fm, Usb, Lsb, Cw, Noise };

struct SignalSpec {
    SignalKind kind = SignalKind::Carrier;
    double frequency = 0.0;  // Hz, absolute
    double level = -30.0;    // dBFS; for noise, its whole power over the received band
    double tone = 1000.0;    // Hz: AM, FM, USB and LSB modulation
    double depth = 0.8;      // AM modulation depth
    double deviation = 2500.0;  // Hz, FM peak deviation
    std::string text;        // CW: the text keyed over and over
    double wpm = 18.0;
    std::vector<bool> keying;  // CW: key states, one per millisecond, one whole cycle
};

struct StandinConfig {
    std::filesystem::path source;  // the file read; empty for the built-in configuration
    std::filesystem::path log;     // the call log; empty: no log
    uint32_t enumerationDelayMs = 0;
    std::vector<DongleSpec> dongles;
    std::vector<SignalSpec> signals;
    std::vector<std::string> errors;  // lines that could not be used, for the log
};

// A path as UTF-8 text, for the log.
std::string utf8(const std::filesystem::path& path);

// One Blog V4 and a scene worth listening to at once.
StandinConfig builtInConfig();

// `source` is the file the text comes from: relative paths start beside it.
StandinConfig parseConfig(std::istream& text, const std::filesystem::path& source);
