#include "sink_recorder.h"

#include <stdexcept>

namespace {

constexpr WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 48000, 96000, 2, 16, 0};

template <class Caps, class GetCaps>
std::optional<unsigned> deviceNamed(const std::wstring& part, unsigned count, GetCaps getCaps) {
    for (unsigned device = 0; device < count; ++device) {
        Caps caps{};
        if (getCaps(device, &caps, sizeof caps) != MMSYSERR_NOERROR) continue;
        if (std::wstring(caps.szPname).find(part) != std::wstring::npos) return device;
    }
    return std::nullopt;
}

}  // namespace

std::optional<unsigned> outputNamed(const std::wstring& part) {
    return deviceNamed<WAVEOUTCAPSW>(part, waveOutGetNumDevs(), waveOutGetDevCapsW);
}

SinkRecorder::SinkRecorder(const std::wstring& sinkDescription, int seconds)
    : chunks(static_cast<std::size_t>(seconds) * 20), headers(chunks.size()) {
    const auto monitor = deviceNamed<WAVEINCAPSW>(L"Monitor of " + sinkDescription, waveInGetNumDevs(), waveInGetDevCapsW);
    if (!monitor) throw std::runtime_error("no monitor of the sink; run under scripts/test-env.sh");
    if (waveInOpen(&input, *monitor, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
        throw std::runtime_error("the sink monitor cannot be opened");
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        headers[i].lpData = reinterpret_cast<LPSTR>(chunks[i].data());
        headers[i].dwBufferLength = sizeof(Chunk);
        waveInPrepareHeader(input, &headers[i], sizeof headers[i]);
        waveInAddBuffer(input, &headers[i], sizeof headers[i]);
    }
    waveInStart(input);
    for (int waited = 0; recordedSamples() == 0; waited += 10) {
        if (waited > 5000) {
            release();
            throw std::runtime_error("the sink monitor records nothing");
        }
        Sleep(10);
    }
}

SinkRecorder::~SinkRecorder() { release(); }

void SinkRecorder::release() {
    waveInReset(input);
    for (WAVEHDR& header : headers) waveInUnprepareHeader(input, &header, sizeof header);
    waveInClose(input);
}

// Chunks come back full and in order while recording runs.
std::size_t SinkRecorder::fullChunks() const {
    std::size_t done = 0;
    while (done < headers.size() && (headers[done].dwFlags & WHDR_DONE)) ++done;
    return done;
}

std::size_t SinkRecorder::recordedSamples() const { return fullChunks() * Chunk().size(); }

std::vector<int16_t> SinkRecorder::recorded() const {
    const std::size_t done = fullChunks();
    std::vector<int16_t> samples;
    samples.reserve(done * Chunk().size());
    for (std::size_t i = 0; i < done; ++i) samples.insert(samples.end(), chunks[i].begin(), chunks[i].end());
    return samples;
}
