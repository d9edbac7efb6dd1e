// The configuration text: one "key = value" per line; blank lines and lines
// starting with '#' or ';' are ignored; a value may be put in double quotes to
// keep blanks at its ends. Lines before the first section are global:
//   log = calls.log               call log, appended to (relative to this file)
//   enumeration_delay_ms = 0      rtlsdr_get_device_count sleeps this long
// Each [dongle] section adds one simulated dongle, in index order. It starts
// as a Blog V4 ("RTLSDRBlog", "Blog V4", "00000001") and its keys change it:
//   manufacturer, product, serial             the enumerated USB strings
//   opened_manufacturer, opened_product,
//   opened_serial                             what an open handle reports instead
//   gains = 0, 9, 14                          the tuner's gains, tenths of a dB
//   gains_count = 200                         the count reported for a null array
//   gains_array_result = 0                    what the call with the array returns
//   refuse = set_sample_rate, reset_buffer    entry points (no "rtlsdr_") failing
//                                             with -1; get_device_usb_strings makes
//                                             the strings unreadable, open_identity
//                                             refuses every open; counting and
//                                             cancelling never fail
//   read_ends_after = 40, read_result = -4    the read returns on its own
//   stall_after = 10                          then no buffer until cancelled
//   slow = open_identity, set_center_freq     entry points (as for refuse) that
//   slow_ms = 11000                           take this long before they act
//   close_delay_ms = 3000                     rtlsdr_close takes this long
// Each [signal] section adds one signal to the scene:
//   kind = carrier | am | fm | usb | lsb | cw | noise
//   frequency = 6070000   absolute, Hz (noise covers the whole band)
//   level = -20           dBFS; for noise, its whole power over the band
//   tone = 1000           Hz, for am, fm, usb and lsb
//   depth = 0.8           am      deviation = 2500   fm (Hz)
//   text = VVV DE F4HFO   cw, keyed over and over at wpm = 18
// With no [dongle] section there is no dongle, and with no [signal] the band
// is silent.
#include "standin/config.h"

#include <charconv>
#include <functional>
#include <map>
#include <stdexcept>

#include "tests/support/morse_keying.h"

namespace {

// The entry points that a configuration can make fail or slow; counting the
// dongles and cancelling a read cannot fail.
const std::set<std::string>& refusable() {
    static const std::set<std::string> names = {
        "get_device_usb_strings", "open_identity",  "close",           "get_usb_strings",
        "set_center_freq",        "set_sample_rate", "set_freq_correction", "set_tuner_gain_mode",
        "set_tuner_gain",         "get_tuner_gains", "set_agc_mode",    "set_direct_sampling",
        "set_bias_tee",           "reset_buffer",    "read_async"};
    return names;
}

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

std::string unquoted(const std::string& s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
    return s;
}

std::vector<std::string> items(const std::string& list) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string item = trimmed(list.substr(start, comma - start));
        if (!item.empty()) out.push_back(item);
        start = comma + 1;
    }
    return out;
}

template <typename Number>
Number number(const std::string& text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) throw std::invalid_argument("not a number");
    return value;
}

// A key's setter throws std::invalid_argument on a value it cannot use.
template <typename Item>
using Keys = std::map<std::string, std::function<void(Item&, const std::string&)>>;

template <typename Item, typename Field>
std::function<void(Item&, const std::string&)> numberInto(Field Item::*field) {
    return [field](Item& item, const std::string& value) { item.*field = number<Field>(value); };
}

template <typename Item, typename Field>
std::function<void(Item&, const std::string&)> optionalNumberInto(std::optional<Field> Item::*field) {
    return [field](Item& item, const std::string& value) { item.*field = number<Field>(value); };
}

// A list of entry points, each one that a configuration may make fail or slow.
std::function<void(DongleSpec&, const std::string&)> entryPointsInto(std::set<std::string> DongleSpec::*field) {
    return [field](DongleSpec& d, const std::string& value) {
        for (const auto& name : items(value)) {
            if (refusable().count(name) == 0) throw std::invalid_argument("no entry point " + name + " to act on");
            (d.*field).insert(name);
        }
    };
}

template <typename Item, typename Text>
std::function<void(Item&, const std::string&)> textInto(Text Item::*field) {
    return [field](Item& item, const std::string& value) { item.*field = value; };
}

const Keys<StandinConfig>& globalKeys() {
    static const Keys<StandinConfig> keys = {
        {"log",
         [](StandinConfig& c, const std::string& v) {
             c.log = c.source.parent_path() / std::u8string(v.begin(), v.end());  // the text is UTF-8
         }},
        {"enumeration_delay_ms", numberInto(&StandinConfig::enumerationDelayMs)},
    };
    return keys;
}

const Keys<DongleSpec>& dongleKeys() {
    static const Keys<DongleSpec> keys = {
        {"manufacturer", textInto(&DongleSpec::manufacturer)},
        {"product", textInto(&DongleSpec::product)},
        {"serial", textInto(&DongleSpec::serial)},
        {"opened_manufacturer", textInto(&DongleSpec::openedManufacturer)},
        {"opened_product", textInto(&DongleSpec::openedProduct)},
        {"opened_serial", textInto(&DongleSpec::openedSerial)},
        {"gains",
         [](DongleSpec& d, const std::string& v) {
             d.gains.clear();
             for (const auto& gain : items(v)) d.gains.push_back(number<int>(gain));
         }},
        {"gains_count", optionalNumberInto(&DongleSpec::gainsCount)},
        {"gains_array_result", optionalNumberInto(&DongleSpec::gainsArrayResult)},
        {"refuse", entryPointsInto(&DongleSpec::refused)},
        {"read_ends_after", optionalNumberInto(&DongleSpec::readEndsAfter)},
        {"read_result", numberInto(&DongleSpec::readResult)},
        {"stall_after", optionalNumberInto(&DongleSpec::stallAfter)},
        {"slow", entryPointsInto(&DongleSpec::slow)},
        {"slow_ms", numberInto(&DongleSpec::slowMs)},
        {"close_delay_ms", numberInto(&DongleSpec::closeDelayMs)},
    };
    return keys;
}

const Keys<SignalSpec>& signalKeys() {
    static const std::map<std::string, SignalKind> kinds = {
        {"carrier", SignalKind::Carrier}, {"am", SignalKind::Am}, {"fm", SignalKind::Fm},   {"usb", SignalKind::Usb},
        {"lsb", SignalKind::Lsb},         {"cw", SignalKind::Cw}, {"noise", SignalKind::Noise}};
    static const Keys<SignalSpec> keys = {
        {"kind",
         [](SignalSpec& s, const std::string& v) {
             const auto kind = kinds.find(v);
             if (kind == kinds.end()) throw std::invalid_argument("no signal kind " + v);
             s.kind = kind->second;
         }},
        {"frequency", numberInto(&SignalSpec::frequency)},
        {"level", numberInto(&SignalSpec::level)},
        {"tone", numberInto(&SignalSpec::tone)},
        {"depth", numberInto(&SignalSpec::depth)},
        {"deviation", numberInto(&SignalSpec::deviation)},
        {"text", textInto(&SignalSpec::text)},
        {"wpm", numberInto(&SignalSpec::wpm)},
    };
    return keys;
}

template <typename Item>
void apply(const Keys<Item>& keys, Item& item, const std::string& key, const std::string& value) {
    const auto setter = keys.find(key);
    if (setter == keys.end()) throw std::invalid_argument("unknown key " + key);
    setter->second(item, value);
}

// Keys a CW signal's text once, so that rendering only looks the states up.
void prepareKeying(SignalSpec& signal) {
    if (signal.kind != SignalKind::Cw) return;
    if (signal.text.empty()) throw std::invalid_argument("cw without text");
    // The trailing blank leaves a word gap before the text starts again.
    signal.keying = hf_test::keyMorse(signal.text + " ", signal.wpm);
}

SignalSpec signal(SignalKind kind, double frequency, double level, double tone) {
    SignalSpec s;
    s.kind = kind;
    s.frequency = frequency;
    s.level = level;
    s.tone = tone;
    return s;
}

}  // namespace

std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

StandinConfig builtInConfig() {
    StandinConfig config;
    config.dongles.push_back(DongleSpec{});
    SignalSpec cbFm = signal(SignalKind::Fm, 27065000, -30, 1200);  // CB channel 9
    cbFm.deviation = 2000;
    SignalSpec beacon = signal(SignalKind::Cw, 7023000, -30, 0);
    beacon.text = "VVV DE F4HFO";
    beacon.wpm = 18;
    prepareKeying(beacon);
    config.signals = {
        signal(SignalKind::Am, 6070000, -20, 1000),   // broadcast
        beacon,
        signal(SignalKind::Usb, 7074000, -35, 1500),  // a steady USB tone
        signal(SignalKind::Am, 27185000, -25, 800),   // CB channel 19
        cbFm,
        signal(SignalKind::Noise, 0, -30, 0),
    };
    return config;
}

StandinConfig parseConfig(std::istream& text, const std::filesystem::path& source) {
    StandinConfig config;
    config.source = source;
    // Keys under an unknown section are skipped; the section was reported.
    enum class Section { Global, Dongle, Signal, Unknown } section = Section::Global;
    int signalLine = 0;

    const auto closeSignal = [&] {
        if (section != Section::Signal) return;
        try {
            prepareKeying(config.signals.back());
        } catch (const std::invalid_argument& e) {
            config.errors.push_back("line " + std::to_string(signalLine) + ": " + e.what());
            config.signals.pop_back();
        }
    };

    std::string raw;
    for (int line = 1; std::getline(text, raw); ++line) {
        const std::string content = trimmed(raw);
        if (content.empty() || content.front() == '#' || content.front() == ';') continue;
        const std::string where = "line " + std::to_string(line) + ": ";
        if (content.front() == '[') {
            closeSignal();
            if (content == "[dongle]") {
                section = Section::Dongle;
                config.dongles.emplace_back();
            } else if (content == "[signal]") {
                section = Section::Signal;
                config.signals.emplace_back();
                signalLine = line;
            } else {
                section = Section::Unknown;
                config.errors.push_back(where + "unknown section " + content);
            }
            continue;
        }
        const auto equals = content.find('=');
        if (equals == std::string::npos) {
            config.errors.push_back(where + "no '='");
            continue;
        }
        const std::string key = trimmed(content.substr(0, equals));
        const std::string value = unquoted(trimmed(content.substr(equals + 1)));
        try {
            switch (section) {
                case Section::Global: apply(globalKeys(), config, key, value); break;
                case Section::Dongle: apply(dongleKeys(), config.dongles.back(), key, value); break;
                case Section::Signal: apply(signalKeys(), config.signals.back(), key, value); break;
                case Section::Unknown: break;
            }
        } catch (const std::invalid_argument& e) {
            config.errors.push_back(where + e.what());
        }
    }
    closeSignal();
    return config;
}
