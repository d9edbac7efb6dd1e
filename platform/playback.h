#pragma once
// The arithmetic of the playback thread, apart from waveOut: the gain that
// volume, mute, pause and squelch ask for, the ramp that reaches it without a
// click, and the rules that keep the device's queue of buffers topped up.

#include <array>
#include <cstdint>

#include "hf/audio_blocks.h"

using PcmBlock = std::array<int16_t, hf::audioBlockSize>;

// Buffers handed to the device, used as a ring.
constexpr int playbackBuffers = 8;
// The fill stops once this many buffers wait in the device (256 ms).
constexpr int fullDeviceQueue = 6;
// The gain moves at most this much per sample: a whole fade takes 480
// samples (10 ms).
constexpr float gainStep = 1.0f / 480.0f;

// Silence while muted, paused or squelched; otherwise the volume, held to
// [0, 1] whatever the caller stored.
float targetGain(bool muted, bool paused, bool squelchOpen, float volume);

// Converts one block to 16-bit PCM while the gain walks from `gain` toward
// `target`; returns the gain reached at the last sample.
float rampBlock(const std::array<float, hf::audioBlockSize>& block, float gain, float target, PcmBlock& pcm);

// The device was playing and has nothing left queued.
bool underrunFound(bool playing, int queued);
// After an underrun, or whenever the device holds at most 5 buffers.
bool fillWanted(bool underrun, int queued);
// A paused device starts only with a pre-roll of at least 5 buffers.
bool startWanted(bool playing, int queued);
