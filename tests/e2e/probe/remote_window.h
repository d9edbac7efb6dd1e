#pragma once
// Reading and driving windows that belong to another process: every query
// is a sent message with a time limit, so a hung program fails the probe
// instead of hanging the test.

#include <functional>
#include <string>

#include <windows.h>

constexpr int kDefaultTimeoutMs = 10000;

// Polls `ready` every 20 ms until it is true or `timeoutMs` has passed.
bool waitUntil(const std::function<bool()>& ready, int timeoutMs);

// The main window of the program under test, or null when it is not open.
HWND findMainWindow();

// The main window, waited for; throws when it does not appear in time.
HWND mainWindow(int timeoutMs = kDefaultTimeoutMs);

// The main window's child with control id `id`; throws when there is none.
HWND control(int id);

// Sends a message and returns the reply; throws when the window does not
// answer within the time limit.
LRESULT query(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Sends a message as a user's action would cause it. A handler that opens a
// modal box keeps its reply back for as long as the box stays open, so a
// message that is still being handled after a second counts as delivered.
void act(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// WM_GETTEXT through the owning process: GetWindowTextW would only see the
// caption stored by the system, not the text an edit control keeps.
std::wstring windowText(HWND window);

// Whether `window` is of the named class (names compare without case).
bool isClass(HWND window, const wchar_t* name);
