#include "bench/receiver_workload.h"

#include <algorithm>

#include "tests/support/morse_keying.h"
#include "tests/support/recorded_band.h"

namespace hf_bench {

namespace {

constexpr std::size_t second = 960000;
constexpr std::size_t dongleBuffer = 32768;

const std::vector<uint8_t>& recordedSecond() {
    static const std::vector<uint8_t> iq =
        hf_test::recordedBand(second, hf_test::keyMorse("CQ CQ", 22.0, 50, 50), 1);
    return iq;
}

const std::vector<uint8_t>& zeroSecond() {
    static const std::vector<uint8_t> iq(2 * second, 0);
    return iq;
}

}  // namespace

const std::vector<Workload>& workloads() {
    static const std::vector<Workload> all{
        {"AM", hf_test::listeningAt(0, hf_test::recordedAmAt, 6000), &recordedSecond()},
        {"FM", hf_test::listeningAt(1, hf_test::recordedFmAt, 12000), &recordedSecond()},
        {"USB", hf_test::listeningAt(2, hf_test::recordedSsbAt, 2700), &recordedSecond()},
        {"LSB", hf_test::listeningAt(3, hf_test::recordedSsbAt, 2700), &recordedSecond()},
        {"CW", hf_test::listeningAt(4, hf_test::recordedCwAt, 500), &recordedSecond()},
        {"zeros", hf_test::listeningAt(4, hf_test::recordedCwAt, 500), &zeroSecond()},
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
