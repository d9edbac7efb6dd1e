#pragma once
// Where the dongle's received span is centred for new form settings, and
// whether the passband still lies inside that span.

#include "hf/records.h"

#include <cstdint>

namespace app {

// What besides the settings decides the centre.
struct CentreView {
    bool scanning = false;        // the frequency scanner is stepping
    bool panDrag = false;         // the user is dragging the view on the plot
    int32_t spectrumSpan = 480000;  // width of the plot view in Hz
};

// The hardware centre for `next` (its Frequency, Mode and Bandwidth) given the
// centre the form held before (0: none). The view is kept while the passband
// still fits; a scan places it so that entries a little higher up fit too; a
// pan drag keeps the centre it set. When `dongle` cannot receive at that
// centre but can at the tuned frequency (they lie on both sides of 25 MHz),
// the span is centred on the tuned frequency instead.
uint32_t chooseCentre(const hf::Settings& next, uint32_t previousCentre, const CentreView& view,
                      const hf::Device& dongle);

// The passband of `settings` reaches beyond 185 kHz of its hardware centre
// (`center`, or `Frequency` when 0), where the received span ends.
bool outOfSpan(const hf::Settings& settings);

}  // namespace app
