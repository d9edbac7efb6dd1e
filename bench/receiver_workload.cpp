#include "bench/receiver_workload.h"

#include <algorithm>

#include "tests/support/iq_signal.h"
#include "tests/support/morse_keying.h"

namespace hf_bench {

namespace {

constexpr uint32_t centre = 7100000;
constexpr std::size_t second = 960000;
constexpr std::size_t dongleBuffer = 32768;

// Where each mode's signal lies, in Hz from the centre.
constexpr int32_t amAt = 60000;
constexpr int32_t fmAt = -90000;
constexpr int32_t ssbAt = -30000;
constexpr int32_t cwAt = 10000;

const std::vector<uint8_t>& recordedSecond() {
    static const std::vector<uint8_t> iq = [] {
        using namespace hf_test;
        Baseband band = amTone(second, amAt, 0.2, 1000.0, 0.6);
        mix(band, fmTone(second, fmAt, 0.2, 700.0, 2500.0));
        mix(band, tone(second, ssbAt + 1200.0, 0.1));
        mix(band, tone(second, ssbAt - 800.0, 0.1));
        mix(band, keyedCarrier(keyMorse("CQ CQ", 22.0, 50, 50), cwAt, 0.1));
        band.resize(second);
        addNoise(band, 0.1, 1);
        return quantise(band);
    }();
    return iq;
}

const std::vector<uint8_t>& zeroSecond() {
    static const std::vector<uint8_t> iq(2 * second, 0);
    return iq;
}

hf::Settings tuned(int32_t mode, int32_t offset, int32_t bandwidth) {
    hf::Settings s;
    s.center = centre;
    s.Frequency = static_cast<uint32_t>(int64_t{centre} + offset);
    s.Mode = mode;
    s.Bandwidth = bandwidth;
    return s;
}

}  // namespace

const std::vector<Workload>& workloads() {
    static const std::vector<Workload> all{
        {"AM", tuned(0, amAt, 6000), &recordedSecond()},
        {"FM", tuned(1, fmAt, 12000), &recordedSecond()},
        {"USB", tuned(2, ssbAt, 2700), &recordedSecond()},
        {"LSB", tuned(3, ssbAt, 2700), &recordedSecond()},
        {"CW", tuned(4, cwAt, 500), &recordedSecond()},
        {"zeros", tuned(4, cwAt, 500), &zeroSecond()},
    };
    return all;
}

Listener::Listener(const hf::Settings& settings) {
    dsp.configure(settings);
    dsp.onAudio = [this](const std::vector<float>&) { ++blocks; };
    dsp.onFrame = [this](hf::Frame f) {
        ++frames;
        textLength += f.cwText.size();
    };
}

void Listener::listen(const std::vector<uint8_t>& iq) {
    for (std::size_t at = 0; at < iq.size(); at += dongleBuffer)
        dsp.bytes(iq.data() + at, std::min(dongleBuffer, iq.size() - at));
}

}  // namespace hf_bench
