#pragma once
// Test helper: synthetic dongle I/Q at 960 kHz.
//
// Signals are built as complex baseband (full scale = magnitude 1), summed
// with mix(), then quantised to unsigned 8-bit pairs, I first, as the dongle
// delivers them. Frequencies are in Hz from the hardware centre; like the
// dongle, which is tuned 12 kHz above the centre, the stream carries them
// 12 kHz lower, and the receive chain shifts them back.

#include <complex>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace hf_test {

using Baseband = std::vector<std::complex<float>>;

constexpr double iqRate = 960000.0;
constexpr double dongleShiftHz = 12000.0;
constexpr std::size_t pairsPerMs = 960;

// A complex tone: one line at hz, a single sideband when hz is off the carrier.
Baseband tone(std::size_t pairs, double hz, double amplitude);

// A carrier at hz, amplitude modulated by a tone: A (1 + depth cos 2π toneHz t).
Baseband amTone(std::size_t pairs, double hz, double amplitude, double toneHz, double depth);

// A carrier at hz, frequency modulated by a tone with a peak deviation.
Baseband fmTone(std::size_t pairs, double hz, double amplitude, double toneHz, double deviationHz);

// A carrier at hz keyed by one key state per ms (see keyMorse), with
// raised-cosine edges edgeMs long.
Baseband keyedCarrier(const std::vector<bool>& keyPerMs, double hz, double amplitude, double edgeMs = 4.0);

// Adds a into `into` (which grows to a's length if shorter).
void mix(Baseband& into, const Baseband& a);

// Adds complex Gaussian noise of the given total RMS, the same for a seed.
void addNoise(Baseband& signal, double rms, uint32_t seed);

// 8-bit pairs: 127.5 + 127.5 x, rounded to the nearest code and clipped to 0 … 255.
std::vector<uint8_t> quantise(const Baseband& signal);

}  // namespace hf_test
