#pragma once
// One spectrum value per pixel column of the plot, from a frame's narrow
// (48 kHz around the tuned frequency) or wide (960 kHz around the published
// centre) spectrum.

#include "hf/records.h"

#include <cstdint>

namespace app {

struct SpectrumView {
    int32_t span = 480000;         // width of the view, Hz
    uint32_t formCentre = 0;       // the form's centre, which a pan drag moves first
    uint32_t publishedCentre = 0;  // the centre the receiver tunes to
    uint32_t frequency = 0;        // the tuned frequency
};

// The largest bin under column x of `width`; with `useForm` the view follows
// the form's centre. The narrow spectrum serves the narrow views close to the
// tuned frequency; beyond the received band the value is -150 dB, and -120 dB
// without a wide spectrum.
float displayValue(const hf::Frame& frame, int x, int width, const SpectrumView& view, bool useForm);

// The waterfall's value for column x of `width`, around the published centre:
// the column's largest bin, or a value interpolated between bins when the
// column is narrower than one bin; -150 dB when the chosen spectrum is empty.
float waterfallValue(const hf::Frame& frame, int x, int width, const SpectrumView& view);

}  // namespace app
