#pragma once
// Which vectors the FIR filters compute with: the baseline x86-64 ones
// everywhere, or AVX's, twice as wide, where the processor and the system
// support them. Both give the same results to the bit.

namespace hf {

bool wideVectorsAvailable();

// True when the wide vectors are available and not turned off.
bool wideVectorsInUse();

// For tests and measurements: false keeps every filter on the baseline
// vectors; true (the default) lets them use the wide ones when available.
void useWideVectors(bool use);

}  // namespace hf
