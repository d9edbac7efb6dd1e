#pragma once
// The simulated sky as a dongle delivers it: unsigned 8-bit I/Q pairs, I
// first, zero at 127.5, at the tuned centre and sample rate. A signal at the
// absolute frequency f appears at the offset f - centre; one that lies outside
// the received band is not heard at all.

#include <complex>
#include <cstdint>
#include <vector>

#include "standin/config.h"

class Scene {
public:
    explicit Scene(const std::vector<SignalSpec>& signals);

    // Signals keep their phases and their place in the keyed text across
    // retunes, as a real sky would.
    void tune(uint32_t sampleRate, uint32_t centreHz);
    void render(uint8_t* out, size_t pairs);

private:
    struct Emitter {
        SignalSpec spec;
        float amplitude = 0.0f;
        bool heard = false;
        uint32_t carrierPhase = 0;
        uint32_t carrierStep = 0;
        uint32_t tonePhase = 0;
        uint32_t toneStep = 0;
        float deviationSteps = 0.0f;  // FM: carrier phase steps at full deviation
        double keyMs = 0.0;           // CW: place in the keyed text
        double msPerSample = 0.0;
        float envelope = 0.0f;        // CW: soft key edges
        float edgeStep = 0.0f;
    };

    void add(Emitter& emitter, size_t pairs);

    std::vector<Emitter> emitters;
    std::vector<std::complex<float>> sum;
    uint64_t noiseState = 0x9E3779B97F4A7C15ull;
};
