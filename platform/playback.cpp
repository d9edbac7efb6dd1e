#include "platform/playback.h"

#include <algorithm>

#include "platform/pcm16.h"

namespace {

// Buffers queued before a paused device starts (213 ms).
constexpr int preroll = 5;

}  // namespace

float targetGain(bool muted, bool paused, bool squelchOpen, float volume) {
    if (muted || paused || !squelchOpen) return 0.0f;
    return std::clamp(volume, 0.0f, 1.0f);
}

float rampBlock(const std::array<float, hf::audioBlockSize>& block, float gain, float target, PcmBlock& pcm) {
    for (std::size_t i = 0; i < block.size(); ++i) {
        gain = gain < target ? std::min(target, gain + gainStep) : std::max(target, gain - gainStep);
        pcm[i] = pcm16(block[i] * gain);
    }
    return gain;
}

bool underrunFound(bool playing, int queued) { return playing && queued == 0; }

bool fillWanted(bool underrun, int queued) { return underrun || queued < fullDeviceQueue; }

bool startWanted(bool playing, int queued) { return !playing && queued >= preroll; }
