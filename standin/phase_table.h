#pragma once
// Oscillators as 32-bit phase accumulators read through one table of unit
// phasors, so rendering calls no trigonometric function per sample.

#include <array>
#include <complex>
#include <cstdint>

constexpr int phaseTableBits = 14;

const std::array<std::complex<float>, (1u << phaseTableBits)>& phaseTable();

inline std::complex<float> phasorAt(uint32_t phase) { return phaseTable()[phase >> (32 - phaseTableBits)]; }

// The accumulator step of `hz` at `sampleRate`; negative frequencies wrap.
uint32_t phaseStep(double hz, double sampleRate);
