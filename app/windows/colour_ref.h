#pragma once
// Between the painting rules' RGB colours and Windows' COLORREF.

#include "app/rules/paint_colour.h"

#include <windows.h>

inline COLORREF colourRef(app::Colour c) { return RGB(c.r, c.g, c.b); }

inline app::Colour colourOf(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

inline RECT rectOf(const app::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
