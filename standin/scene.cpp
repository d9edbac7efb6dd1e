#include "standin/scene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>

#include "standin/phase_table.h"

namespace {

// Normal deviates drawn once; noise then costs a random index per value.
const std::array<float, 65536>& gaussianTable() {
    static const auto table = [] {
        std::array<float, 65536> t;
        std::mt19937 random(1234567);
        std::uniform_real_distribution<double> uniform(1e-12, 1.0);
        for (size_t i = 0; i < t.size(); i += 2) {
            const double radius = std::sqrt(-2.0 * std::log(uniform(random)));
            const double angle = 2.0 * std::numbers::pi * uniform(random);
            t[i] = float(radius * std::cos(angle));
            t[i + 1] = float(radius * std::sin(angle));
        }
        return t;
    }();
    return table;
}

// Full scale is ±1 on each branch: (b - 127.5) / 128 read back.
uint8_t quantised(float x) { return uint8_t(std::clamp(x * 128.0f + 128.0f, 0.0f, 255.0f)); }

}  // namespace

Scene::Scene(const std::vector<SignalSpec>& signals) {
    for (const auto& spec : signals) {
        Emitter emitter;
        emitter.spec = spec;
        emitter.amplitude = float(std::pow(10.0, spec.level / 20.0));
        emitters.push_back(std::move(emitter));
    }
}

void Scene::tune(uint32_t sampleRate, uint32_t centreHz) {
    const double rate = sampleRate;
    for (auto& e : emitters) {
        double offset = e.spec.frequency - double(centreHz);
        // A single-tone sideband signal is a carrier beside the suppressed one.
        if (e.spec.kind == SignalKind::Usb) offset += e.spec.tone;
        if (e.spec.kind == SignalKind::Lsb) offset -= e.spec.tone;
        e.heard = e.spec.kind == SignalKind::Noise || std::abs(offset) < rate / 2.0;
        e.carrierStep = phaseStep(offset, rate);
        e.toneStep = phaseStep(e.spec.tone, rate);
        e.deviationSteps = float(e.spec.deviation / rate * 4294967296.0);
        e.msPerSample = 1000.0 / rate;
        e.edgeStep = float(1.0 / (0.005 * rate));  // 5 ms key edges
    }
}

void Scene::render(uint8_t* out, size_t pairs) {
    sum.assign(pairs, {});
    for (auto& emitter : emitters) {
        if (emitter.heard) add(emitter, pairs);
    }
    for (size_t i = 0; i < pairs; ++i) {
        out[2 * i] = quantised(sum[i].real());
        out[2 * i + 1] = quantised(sum[i].imag());
    }
}

void Scene::add(Emitter& e, size_t pairs) {
    const float a = e.amplitude;
    switch (e.spec.kind) {
        case SignalKind::Carrier:
        case SignalKind::Usb:
        case SignalKind::Lsb:
            for (size_t i = 0; i < pairs; ++i, e.carrierPhase += e.carrierStep) sum[i] += a * phasorAt(e.carrierPhase);
            break;
        case SignalKind::Am: {
            const float depth = float(e.spec.depth);
            for (size_t i = 0; i < pairs; ++i, e.carrierPhase += e.carrierStep, e.tonePhase += e.toneStep) {
                sum[i] += a * (1.0f + depth * phasorAt(e.tonePhase).real()) * phasorAt(e.carrierPhase);
            }
            break;
        }
        case SignalKind::Fm:
            for (size_t i = 0; i < pairs; ++i, e.tonePhase += e.toneStep) {
                sum[i] += a * phasorAt(e.carrierPhase);
                e.carrierPhase += e.carrierStep + uint32_t(int32_t(e.deviationSteps * phasorAt(e.tonePhase).imag()));
            }
            break;
        case SignalKind::Cw: {
            const double cycleMs = double(e.spec.keying.size());
            for (size_t i = 0; i < pairs; ++i, e.carrierPhase += e.carrierStep) {
                const float key = e.spec.keying[size_t(e.keyMs)] ? 1.0f : 0.0f;
                e.envelope = key > e.envelope ? std::min(key, e.envelope + e.edgeStep)
                                              : std::max(key, e.envelope - e.edgeStep);
                sum[i] += a * e.envelope * phasorAt(e.carrierPhase);
                e.keyMs += e.msPerSample;
                if (e.keyMs >= cycleMs) e.keyMs -= cycleMs;
            }
            break;
        }
        case SignalKind::Noise: {
            const auto& gauss = gaussianTable();
            const float sigma = a / std::numbers::sqrt2_v<float>;  // the power splits over both branches
            for (size_t i = 0; i < pairs; ++i) {
                noiseState ^= noiseState << 13;
                noiseState ^= noiseState >> 7;
                noiseState ^= noiseState << 17;
                sum[i] += sigma * std::complex<float>(gauss[noiseState & 0xFFFF], gauss[(noiseState >> 16) & 0xFFFF]);
            }
            break;
        }
    }
}
