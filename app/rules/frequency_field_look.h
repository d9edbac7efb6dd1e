#pragma once
// The colours the frequency field paints with: a background that continues
// the frequency panel's gradient row by row, and digits lit by a signal.

#include "app/rules/paint_colour.h"
#include "hf/ui_layout.h"

namespace app {

// The colour of the field's pixel row `row`, for a field whose top lies at
// `fieldTop` device pixels in the main window's client area, in front of the
// frequency panel `panel` (logical units, below the caption band).
Colour fieldRowColour(int row, int fieldTop, float uiScale, const hf::Box& panel);

// Green while a signal is heard, cyan otherwise.
Colour fieldTextColour(bool lit);

}  // namespace app
