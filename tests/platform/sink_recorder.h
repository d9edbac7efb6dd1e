#pragma once
// What a sink of the sound server plays, recorded through its monitor, which
// Wine lists as the waveIn device "Monitor of <sink description>": 48 kHz,
// mono, 16-bit, exactly the samples the sink mixed.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>
#include <mmsystem.h>

// The first waveOut device whose name contains `part`; Wine's order of the
// sinks changes from one run to the next.
std::optional<unsigned> outputNamed(const std::wstring& part);

class SinkRecorder {
public:
    // Listens until `seconds` have been recorded; returns once the first
    // samples have come in, so that nothing played afterwards is missed.
    SinkRecorder(const std::wstring& sinkDescription, int seconds);
    SinkRecorder(const SinkRecorder&) = delete;
    SinkRecorder& operator=(const SinkRecorder&) = delete;
    ~SinkRecorder();

    // Everything recorded so far, in 50 ms steps.
    std::vector<int16_t> recorded() const;
    std::size_t recordedSamples() const;

private:
    using Chunk = std::array<int16_t, 2400>;

    void release();
    std::size_t fullChunks() const;

    HWAVEIN input = nullptr;
    std::vector<Chunk> chunks;
    std::vector<WAVEHDR> headers;
};
