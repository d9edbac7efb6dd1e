#pragma once
// The box that shows an error caught at the message dispatch, so that no
// exception ever crosses Windows' own frames.

#include <windows.h>

#include <exception>

#include "platform/text.h"

inline void showError(HWND owner, const std::exception& error) {
    MessageBoxW(owner, wide(error.what()).c_str(), L"HF Orvande", MB_ICONERROR);
}

// Runs one message handler of a window or subclass procedure; what it throws
// is shown over `owner` and the message counts as handled.
template <class Handler>
LRESULT guarded(HWND owner, Handler&& handle) {
    try {
        return handle();
    } catch (const std::exception& error) {
        showError(owner, error);
        return 0;
    }
}
