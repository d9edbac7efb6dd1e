#include "tests/support/recorded_band.h"

#include "tests/support/iq_signal.h"

namespace hf_test {

hf::Settings listeningAt(int32_t mode, int32_t offset, int32_t bandwidth) {
    hf::Settings s;
    s.center = recordedCentre;
    s.Frequency = static_cast<uint32_t>(int64_t{recordedCentre} + offset);
    s.Mode = mode;
    s.Bandwidth = bandwidth;
    return s;
}

std::vector<uint8_t> recordedBand(std::size_t pairs, const std::vector<bool>& cwKey, uint32_t noiseSeed) {
    Baseband band = amTone(pairs, recordedAmAt, 0.2, 1000.0, 0.6);
    mix(band, fmTone(pairs, recordedFmAt, 0.2, 700.0, 2500.0));
    mix(band, tone(pairs, recordedSsbAt + 1200.0, 0.1));
    mix(band, tone(pairs, recordedSsbAt - 800.0, 0.1));
    mix(band, keyedCarrier(cwKey, recordedCwAt, 0.1));
    band.resize(pairs);
    addNoise(band, 0.1, noiseSeed);
    return quantise(band);
}

}  // namespace hf_test
