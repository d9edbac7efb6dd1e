#pragma once
// The main window's UI scale and the making of its fonts, shared by its
// construction and its layout.

#include <windows.h>

// Device pixels per logical pixel for `window` now: its DPI over 96 where
// the system can tell it, limited by the primary monitor's work area.
float windowUiScale(HWND window);

// A font of the main window: CreateFontW's character height, no italic,
// underline or strike-out, ClearType.
HFONT windowFont(const wchar_t* face, int height, int weight);
