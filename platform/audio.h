#pragma once
// Plays the receiver's 48 kHz audio blocks through waveOut on a playback
// thread of its own: volume, mute, pause and squelch become a ramped gain,
// underruns pause the device until a new pre-roll is queued, and the output
// device can be switched while playing.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include <windows.h>
#include <mmsystem.h>

#include "hf/audio_blocks.h"
#include "platform/playback.h"

// Posted to the main window after a switch of the output device: wParam is
// the device in use, lParam 1 when the requested one could not be opened.
constexpr UINT audioOutputMessage = WM_APP + 3;

class Audio {
public:
    struct Buffer {
        WAVEHDR header;
        PcmBlock samples;
        bool prepared;
    };

    Audio() = default;
    Audio(const Audio&) = delete;
    Audio& operator=(const Audio&) = delete;
    ~Audio();

    // Opens `device` (a waveOut index or WAVE_MAPPER) paused and starts the
    // playback thread; throws when any step fails, leaving the release of
    // what was made to close().
    void start(unsigned device, const std::atomic<float>& volume, const std::atomic<bool>& muted,
               const std::atomic<bool>& paused, const std::atomic<bool>& squelchOpen,
               std::atomic<unsigned>& requested, HWND window);
    // The audio-block sink's hand-over: queues one block and wakes playback.
    void push(const std::vector<float>& block);
    // Stops the playback thread, then releases the device and the event.
    // Safe to call again, and on an object that never started.
    void close();

    void run();
    bool switchOutput(unsigned device);

    std::atomic<uint32_t>* requested = nullptr;
    uint32_t current = WAVE_MAPPER;
    HWND window = nullptr;
    HWAVEOUT output = nullptr;
    HANDLE event = nullptr;
    std::thread thread;
    std::mutex mutex;
    hf::AudioBlocks queue;
    float lastGain = 0.0f;
    std::array<Buffer, playbackBuffers> buffers{};
    std::atomic<bool> stop{false};
    std::atomic<int32_t> failed{0};
    const std::atomic<float>* volume = nullptr;
    const std::atomic<bool>* muted = nullptr;
    const std::atomic<bool>* paused = nullptr;
    const std::atomic<bool>* squelchOpen = nullptr;
    std::atomic<uint32_t> lostBlocks{0};
    std::atomic<uint32_t> underruns{0};

private:
    // The device opened with the one format and `event`, or null.
    HWAVEOUT open(unsigned device);
    MMRESULT prepareBuffers();
    void releaseOutput();
    bool takeBlock(std::array<float, hf::audioBlockSize>& block);
    int queuedBuffers() const;
    bool succeeded(MMRESULT result);
};
