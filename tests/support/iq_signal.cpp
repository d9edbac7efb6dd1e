#include "tests/support/iq_signal.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace hf_test {

namespace {

constexpr double twoPi = 2.0 * std::numbers::pi;

// The carrier's phase at pair n, as it reaches the receive chain.
double carrierPhase(std::size_t n, double hz) {
    return twoPi * (hz - dongleShiftHz) * static_cast<double>(n) / iqRate;
}

// Computed in double: a float phase would lose its fraction within seconds.
std::complex<float> sample(double magnitude, double phase) {
    return std::complex<float>(std::polar(magnitude, phase));
}

uint8_t adc(double x) {
    return static_cast<uint8_t>(std::clamp(std::lround(127.5 + 127.5 * x), 0L, 255L));
}

}  // namespace

Baseband tone(std::size_t pairs, double hz, double amplitude) {
    Baseband out(pairs);
    for (std::size_t n = 0; n < pairs; ++n) out[n] = sample(amplitude, carrierPhase(n, hz));
    return out;
}

Baseband amTone(std::size_t pairs, double hz, double amplitude, double toneHz, double depth) {
    Baseband out(pairs);
    for (std::size_t n = 0; n < pairs; ++n) {
        const double envelope = amplitude * (1.0 + depth * std::cos(twoPi * toneHz * static_cast<double>(n) / iqRate));
        out[n] = sample(envelope, carrierPhase(n, hz));
    }
    return out;
}

Baseband fmTone(std::size_t pairs, double hz, double amplitude, double toneHz, double deviationHz) {
    Baseband out(pairs);
    for (std::size_t n = 0; n < pairs; ++n) {
        const double modulation =
            deviationHz / toneHz * std::sin(twoPi * toneHz * static_cast<double>(n) / iqRate);
        out[n] = sample(amplitude, carrierPhase(n, hz) + modulation);
    }
    return out;
}

Baseband keyedCarrier(const std::vector<bool>& keyPerMs, double hz, double amplitude, double edgeMs) {
    // A box average of the key over one edge length gives linear edges, which
    // a raised cosine then rounds off.
    const std::size_t pairs = keyPerMs.size() * pairsPerMs;
    const auto edge = std::max<std::size_t>(1, static_cast<std::size_t>(edgeMs * pairsPerMs));
    auto keyAt = [&](std::size_t n) { return n < pairs && keyPerMs[n / pairsPerMs] ? 1.0 : 0.0; };
    Baseband out(pairs);
    double window = 0.0;
    for (std::size_t n = 0; n < edge; ++n) window += keyAt(n);
    for (std::size_t n = 0; n < pairs; ++n) {
        const double ramp = window / static_cast<double>(edge);
        const double envelope = 0.5 - 0.5 * std::cos(std::numbers::pi * ramp);
        out[n] = sample(amplitude * envelope, carrierPhase(n, hz));
        window += keyAt(n + edge) - keyAt(n);
    }
    return out;
}

void mix(Baseband& into, const Baseband& a) {
    if (into.size() < a.size()) into.resize(a.size());
    for (std::size_t n = 0; n < a.size(); ++n) into[n] += a[n];
}

void addNoise(Baseband& signal, double rms, uint32_t seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0.0, rms / std::numbers::sqrt2);
    for (auto& x : signal) {
        const double re = gauss(random);
        const double im = gauss(random);
        x += std::complex<float>(static_cast<float>(re), static_cast<float>(im));
    }
}

std::vector<uint8_t> quantise(const Baseband& signal) {
    std::vector<uint8_t> bytes;
    bytes.reserve(2 * signal.size());
    for (const auto& x : signal) {
        bytes.push_back(adc(x.real()));
        bytes.push_back(adc(x.imag()));
    }
    return bytes;
}

}  // namespace hf_test
