#include "platform/audio.h"

#include "platform/check.h"

#include <system_error>

namespace {

// 48 kHz mono 16-bit, the one format every open uses.
constexpr WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 48000, 96000, 2, 16, 0};
constexpr DWORD bufferBytes = sizeof(PcmBlock);
// Playback waits no longer than this for waveOut or the sink to wake it, so a
// missed wake-up costs one period at most.
constexpr DWORD wakeMs = 10;

bool inQueue(const WAVEHDR& header) { return (header.dwFlags & WHDR_INQUEUE) != 0; }

}  // namespace

Audio::~Audio() { close(); }

void Audio::start(unsigned device, const std::atomic<float>& volume, const std::atomic<bool>& muted,
                  const std::atomic<bool>& paused, const std::atomic<bool>& squelchOpen,
                  std::atomic<unsigned>& requested, HWND window) {
    this->volume = &volume;
    this->muted = &muted;
    this->paused = &paused;
    this->squelchOpen = &squelchOpen;
    this->requested = &requested;
    this->window = window;
    current = device;
    event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    check(event != nullptr, "Evenement audio indisponible.");
    output = open(device);
    check(output != nullptr, "Sortie audio indisponible.");
    check(prepareBuffers() == MMSYSERR_NOERROR, "Preparation audio impossible.");
    check(waveOutPause(output) == MMSYSERR_NOERROR, "Initialisation audio impossible.");
    // Without its playback thread the output cannot start; the reception
    // that asked for it ends with the same text as a refused start.
    try {
        thread = std::thread(&Audio::run, this);
    } catch (const std::system_error&) {
        check(false, "Initialisation audio impossible.");
    }
}

void Audio::push(const std::vector<float>& block) {
    check(failed == 0, "Perte de la sortie audio.");
    {
        const std::lock_guard lock(mutex);
        queue.push(block);
        lostBlocks = queue.dropped;
    }
    if (event) SetEvent(event);
}

void Audio::close() {
    stop = true;
    if (event) SetEvent(event);
    if (thread.joinable()) thread.join();
    releaseOutput();
    if (event) {
        CloseHandle(event);
        event = nullptr;
    }
}

void Audio::run() {
    std::size_t ring = 0;
    bool rampFromZero = true;
    bool playing = false;  // start() left the device paused
    std::array<float, hf::audioBlockSize> block;
    while (!stop) {
        const uint32_t wanted = *requested;
        if (wanted != current) {
            if (switchOutput(wanted)) {
                ring = 0;
                rampFromZero = true;
                playing = false;
            }
            if (failed) return;
        }
        int queued = queuedBuffers();
        const bool underrun = underrunFound(playing, queued);
        if (underrun) {
            if (!succeeded(waveOutPause(output))) return;
            ++underruns;
            playing = false;
            rampFromZero = true;
        }
        if (fillWanted(underrun, queued)) {
            while (!stop && queued < fullDeviceQueue && !inQueue(buffers[ring].header) && takeBlock(block)) {
                const float target = targetGain(*muted, *paused, *squelchOpen, *volume);
                Buffer& buffer = buffers[ring];
                lastGain = rampBlock(block, rampFromZero ? 0.0f : lastGain, target, buffer.samples);
                if (!succeeded(waveOutWrite(output, &buffer.header, sizeof buffer.header))) return;
                ring = (ring + 1) % buffers.size();
                ++queued;
                rampFromZero = false;
            }
        }
        if (startWanted(playing, queued)) {
            if (!succeeded(waveOutRestart(output))) return;
            playing = true;
        }
        WaitForSingleObject(event, wakeMs);
    }
}

bool Audio::switchOutput(unsigned device) {
    const HWAVEOUT fresh = open(device);
    if (!fresh) {
        // A newer choice of the user must survive the roll-back.
        uint32_t expected = device;
        requested->compare_exchange_strong(expected, current);
        PostMessageW(window, audioOutputMessage, current, 1);
        return false;
    }
    releaseOutput();
    output = fresh;
    if (!succeeded(prepareBuffers()) || !succeeded(waveOutPause(output))) return false;
    current = device;
    PostMessageW(window, audioOutputMessage, device, 0);
    return true;
}

HWAVEOUT Audio::open(unsigned device) {
    HWAVEOUT handle = nullptr;
    const MMRESULT result =
        waveOutOpen(&handle, device, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT);
    return result == MMSYSERR_NOERROR ? handle : nullptr;
}

MMRESULT Audio::prepareBuffers() {
    for (Buffer& buffer : buffers) {
        buffer.header = {};
        buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
        buffer.header.dwBufferLength = bufferBytes;
        const MMRESULT result = waveOutPrepareHeader(output, &buffer.header, sizeof buffer.header);
        if (result != MMSYSERR_NOERROR) return result;
        buffer.prepared = true;
    }
    return MMSYSERR_NOERROR;
}

void Audio::releaseOutput() {
    if (!output) return;
    waveOutReset(output);
    for (Buffer& buffer : buffers) {
        if (!buffer.prepared) continue;
        waveOutUnprepareHeader(output, &buffer.header, sizeof buffer.header);
        buffer.prepared = false;
    }
    waveOutClose(output);
    output = nullptr;
}

bool Audio::takeBlock(std::array<float, hf::audioBlockSize>& block) {
    const std::lock_guard lock(mutex);
    if (queue.blocks.empty()) return false;
    block = queue.blocks.front();
    queue.blocks.pop_front();
    return true;
}

int Audio::queuedBuffers() const {
    int queued = 0;
    for (const Buffer& buffer : buffers) queued += inQueue(buffer.header) ? 1 : 0;
    return queued;
}

bool Audio::succeeded(MMRESULT result) {
    if (result == MMSYSERR_NOERROR) return true;
    failed.exchange(1);
    return false;
}
