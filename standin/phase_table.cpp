#include "standin/phase_table.h"

#include <cmath>
#include <numbers>

const std::array<std::complex<float>, (1u << phaseTableBits)>& phaseTable() {
    static const auto table = [] {
        std::array<std::complex<float>, (1u << phaseTableBits)> t;
        for (size_t i = 0; i < t.size(); ++i) {
            const double angle = 2.0 * std::numbers::pi * double(i) / double(t.size());
            t[i] = {float(std::cos(angle)), float(std::sin(angle))};
        }
        return t;
    }();
    return table;
}

uint32_t phaseStep(double hz, double sampleRate) {
    const double turns = hz / sampleRate;
    return uint32_t(int64_t(std::llround((turns - std::floor(turns)) * 4294967296.0)));
}
