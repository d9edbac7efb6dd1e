#pragma once
// Plain value records that cross every layer of the receiver.

#include <cstdint>
#include <string>
#include <vector>

namespace hf {

struct Settings {
    uint32_t Frequency = 7023000;
    uint32_t center = 0;
    int32_t Mode = 4;
    int32_t Bandwidth = 500;
    int32_t Step = 100;
    int32_t PPM = -4;
    int32_t Gain = 280;
    int32_t Tone = 700;
    int32_t WPM = 18;
    bool AutoSpeed = true;
    bool RFAuto = false;
    bool Decode = true;
    bool AutoThreshold = true;
    float Threshold = -45.0f;

    bool operator==(const Settings&) const = default;
};

struct Device {
    uint32_t index = 0;
    std::string manufacturer;
    std::string product;
    std::string serial;
};

// Identity rule: the three USB strings, byte for byte; the index takes no part.
bool sameDongle(const Device& a, const Device& b);

struct Frame {
    int32_t generation = 0;
    std::vector<float> narrowSpectrum;
    std::vector<float> wideSpectrum;
    float level = -120.0f;
    double wpm = 18.0;
    bool centred = false;
    std::string cwText;
};

}  // namespace hf
