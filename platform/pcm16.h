#pragma once
// The one conversion of an audio sample to 16-bit PCM, shared by playback and
// recording so that both hear the same thing.

#include <cstdint>

// Clipped to ±32767 (−32768 never occurs); NaN, which has no sound, becomes
// silence. The product is formed in double, where it is exact, so the
// truncation is that of x × 32767 itself.
constexpr int16_t pcm16(float y) {
    if (y != y) return 0;
    if (y < -1.0f) return -32767;
    if (y > 1.0f) return 32767;
    return static_cast<int16_t>(static_cast<double>(y) * 32767.0);
}
