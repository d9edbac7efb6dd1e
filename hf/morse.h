#pragma once
// CW decoder: one envelope value per millisecond in, Morse text out.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "hf/records.h"

namespace hf {

// International Morse code: pattern of dots and dashes to character.
const std::map<std::string, char>& alphabet();

class Morse {
public:
    struct Run {
        bool mark = false;
        int32_t length = 0;
    };

    void reset(int wpm);
    std::string tick(float x, const Settings& settings);
    void acquire(std::string& out);
    void process(Run run, std::string& out, bool adapt);

    bool mark = false;
    bool timingKnown = false;
    bool wordSpaceDone = true;
    int32_t runMs = 0;
    int32_t ticks = 0;
    float noise = 0.0001f;
    float peak = 0.001f;
    float env = 0.0f;
    double dotMs = 1200.0 / 18.0;
    double lastMark = 0.0;
    double lastWeight = 1.0;
    std::string pattern;
    std::vector<Run> runs;
    std::vector<double> markLens;
};

}  // namespace hf
