#pragma once
// Message boxes of any process on the desktop: dialog windows of class
// "#32770", as MessageBoxW makes them.

#include <string>

#include <windows.h>

// The topmost visible message box, waited for; throws when none appears.
HWND messageBox(int timeoutMs);

// The box's message: its first static control that holds text, not an icon.
std::wstring messageBoxText(HWND box);

// Presses OK, or the first button when the box has no OK, and waits until
// the box has closed.
void pressMessageBoxOk(HWND box, int timeoutMs);
