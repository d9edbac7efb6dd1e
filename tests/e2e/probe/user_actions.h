#pragma once
// What a user does to a control, done the way the control would report it
// to the program: the same messages and notifications, in the same order.

#include <string>

#include <windows.h>

// A button is pressed through BM_CLICK; any other control gets a left click
// at its centre.
void click(HWND control);

// Focuses the control, then posts the key's down and up messages to it, so
// they pass through the program's message loop as typed keys do.
void pressKey(HWND control, UINT virtualKey);

void setText(HWND control, const std::wstring& text);

// Selects item `index` and tells the parent with CBN_SELCHANGE.
void chooseComboItem(HWND combo, int index);

// Moves the thumb and tells the parent as a released drag does.
void moveTrackbar(HWND trackbar, int position);

// Sizes the window so that its client area is width × height, keeping its
// place; the window's own limits on its size still apply.
void resizeClient(HWND window, int width, int height);

// `name` as a virtual-key code: a number, or a name such as VK_RETURN.
UINT virtualKey(const std::wstring& name);
