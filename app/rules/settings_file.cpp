#include "app/rules/settings_file.h"

#include "hf/modes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace app {

namespace {

constexpr int64_t lowestHz = 500000, highestHz = 52000000;

class RadioReader {
public:
    explicit RadioReader(const IniSection& section) : section(section) {}

    int32_t clamped(const char* key, int32_t fallback, int32_t lo, int32_t hi) const {
        return static_cast<int32_t>(std::clamp<int64_t>(number(key, fallback), lo, hi));
    }

    // The file's unsigned numbers: a negative one stands for a huge value.
    int64_t unsignedNumber(const char* key, int64_t fallback) const {
        const int64_t value = number(key, fallback);
        return value < 0 ? std::numeric_limits<int64_t>::max() : value;
    }

    int64_t number(const char* key, int64_t fallback) const {
        return storedNumber(section, key).value_or(fallback);
    }

    bool flag(const char* key, bool fallback) const { return number(key, fallback ? 1 : 0) > 0; }

    std::string text(const char* key, const std::string& fallback) const {
        const auto found = section.find(key);
        return found == section.end() ? fallback : found->second;
    }

private:
    const IniSection& section;
};

int32_t defaultBandwidth(int32_t mode) {
    if (mode == hf::modeCW) return 500;
    if (mode == hf::modeAM) return 9000;
    if (mode == hf::modeFM) return 12000;
    return 2700;
}

int32_t knownSpan(int64_t span) {
    if (span <= 11999) return 12000;
    if (span > 480000 || span == 384000) return 480000;
    if (span == 12000 || span == 48000 || span == 96000 || span == 480000)
        return static_cast<int32_t>(span);
    return 96000;
}

int32_t knownDwell(int64_t dwell) {
    if (dwell <= 999) return 1000;
    if (dwell > 5000) return 5000;
    if (dwell == 1000 || dwell == 2000 || dwell == 3000 || dwell == 5000)
        return static_cast<int32_t>(dwell);
    return 2000;
}

std::string flagText(bool on) { return on ? "1" : "0"; }

}  // namespace

StoredSettings readRadioSection(const IniSection& section) {
    const RadioReader file(section);
    StoredSettings s;
    s.dongle.serial = file.text("V4Serial", s.dongle.serial);
    s.dongle.manufacturer = file.text("DeviceManufacturer", s.dongle.manufacturer);
    s.dongle.product = file.text("DeviceProduct", s.dongle.product);

    hf::Settings& r = s.radio;
    r.Frequency = static_cast<uint32_t>(
        std::clamp(file.unsignedNumber("Frequency", r.Frequency), lowestHz, highestHz));
    r.Mode = static_cast<int32_t>(std::min<int64_t>(file.unsignedNumber("Mode", r.Mode), hf::modeCW));
    r.PPM = file.clamped("PPM", r.PPM, -100, 100);
    s.spectrumSpan = knownSpan(file.number("SpectrumSpan", s.spectrumSpan));
    s.spectrumTop = file.clamped("SpectrumTop", s.spectrumTop, -100, 20);
    s.spectrumRange = file.clamped("SpectrumRange", s.spectrumRange, 20, 140);
    s.waterfallRange = file.clamped("WaterfallRange", s.waterfallRange, 15, 100);
    s.waterfallContrast = file.clamped("WaterfallContrast", s.waterfallContrast, 0, 100);
    s.waterfallLight = file.clamped("WaterfallLight", s.waterfallLight, 0, 100);
    s.squelch = file.clamped("Squelch", s.squelch, 0, 110);
    s.scanDwellMs = knownDwell(file.unsignedNumber("ScanDwellMs", s.scanDwellMs));
    r.Bandwidth = file.clamped("Bandwidth", defaultBandwidth(r.Mode), 100, 15000);
    r.Step = file.clamped("Step", r.Mode == hf::modeCW ? 10 : 100, 10, 10000);
    r.Gain = file.clamped("Gain", r.Gain, 0, 490);
    r.Tone = file.clamped("Tone", r.Tone, 300, 1200);
    r.WPM = file.clamped("WPM", r.WPM, 5, 60);
    r.RFAuto = file.flag("RFAuto", r.RFAuto);
    r.AutoSpeed = file.flag("AutoSpeed", r.AutoSpeed);
    r.Decode = file.flag("Decode", r.Decode);
    r.AutoThreshold = file.flag("AutoThreshold", r.AutoThreshold);
    r.Threshold = static_cast<float>(file.clamped("Threshold", static_cast<int32_t>(std::lround(r.Threshold)), -60, -30));
    s.volume = volumeFromPercent(file.clamped("Volume", volumePercent(s.volume), 0, 100));
    s.audioName = file.text("AudioName", s.audioName);
    return s;
}

std::vector<IniEntry> radioSectionEntries(const StoredSettings& s,
                                          const std::optional<std::string>& audioOutputName) {
    const hf::Settings& r = s.radio;
    const auto number = [](int64_t value) { return std::to_string(value); };
    std::vector<IniEntry> entries{
        {"SpectrumTop", number(s.spectrumTop)},
        {"SpectrumRange", number(s.spectrumRange)},
        {"WaterfallRange", number(s.waterfallRange)},
        {"WaterfallContrast", number(s.waterfallContrast)},
        {"SpectrumSpan", number(s.spectrumSpan)},
        {"Squelch", number(s.squelch)},
        {"WaterfallLight", number(s.waterfallLight)},
        {"ScanDwellMs", number(static_cast<uint32_t>(s.scanDwellMs))},
        {"V4Serial", s.dongle.serial},
        {"DeviceManufacturer", s.dongle.manufacturer},
        {"DeviceProduct", s.dongle.product},
        {"Frequency", number(r.Frequency)},
        {"Mode", number(r.Mode)},
        {"PPM", number(r.PPM)},
        {"Bandwidth", number(r.Bandwidth)},
        {"Step", number(r.Step)},
        {"Gain", number(r.Gain)},
        {"Tone", number(r.Tone)},
        {"WPM", number(r.WPM)},
        {"RFAuto", flagText(r.RFAuto)},
        {"AutoSpeed", flagText(r.AutoSpeed)},
        {"Decode", flagText(r.Decode)},
        {"AutoThreshold", flagText(r.AutoThreshold)},
        {"Threshold", number(static_cast<int32_t>(r.Threshold))},
        {"Volume", number(volumePercent(s.volume))},
    };
    if (audioOutputName) entries.push_back({"AudioName", *audioOutputName});
    return entries;
}

int32_t volumePercent(float volume) {
    return static_cast<int32_t>(std::clamp<long>(std::lround(volume * 100.0f), 0, 100));
}

float volumeFromPercent(int32_t percent) { return static_cast<float>(percent) / 100.0f; }

}  // namespace app
