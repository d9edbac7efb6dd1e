#pragma once
// The glossy relief face shared by buttons, combo boxes and panels, and the
// colours each owner-drawn button takes from the receiver's state.

#include "app/rules/paint_colour.h"

#include <cstdint>
#include <optional>
#include <string>

namespace app {

// The colour of one row of a face `height` rows high, `row` counted from its
// top: a vertical gradient from `top` to `bottom` (reversed when pressed)
// with a soft gloss band near the top of an unpressed face.
Colour faceRowColour(Colour top, Colour bottom, int32_t row, int32_t height, bool pressed);

// The unpressed gradient with its gloss at `position`, 0 at the top and 1 at
// the bottom of the face; surfaces that are no buttons share the look.
Colour glossedGradient(Colour top, Colour bottom, double position);

struct Palette {
    Colour text;
    Colour top;
    Colour bottom;
    Colour border;

    bool operator==(const Palette&) const = default;
};

// The colours of the combo boxes' closed face.
inline constexpr Colour comboBackground{4, 25, 45};
inline constexpr Colour comboTop{7, 48, 72};
inline constexpr Colour comboBottom{2, 20, 37};
inline constexpr Colour comboBorder{25, 187, 231};
inline constexpr Colour comboText{232, 247, 255};
inline constexpr Colour comboDisabledText{169, 192, 207};
inline constexpr Colour comboChevron{190, 247, 255};

// What the button colours depend on, gathered from the window and the App.
struct ButtonState {
    bool running = false;
    bool radioScanning = false;
    bool muted = false;
    int modeSelection = -1;   // hidden combo 105
    int stepSelection = -1;   // hidden combo 106
    int spanSelection = -1;   // hidden combo 125
    int rangeSelection = -1;  // hidden combo 130
    int32_t dwellMs = 0;
    std::optional<int32_t> bandwidth;  // the form's filter width, when it is a number
};

// The palette of button `id`; `disabled` is the button's own disabled state.
Palette buttonPalette(int id, bool disabled, const ButtonState& state);

// The filter width as typed in the form: a whole decimal number filling the
// text, leading blanks and a sign allowed, as the form reader accepts it;
// nothing for any other text.
std::optional<int32_t> formBandwidth(const std::wstring& text);

}  // namespace app
