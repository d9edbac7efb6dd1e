#pragma once
// Reaching the main window's controls by id, for code that may run before a
// control exists or after it is gone: a missing control is skipped.

#include <windows.h>

#include <map>
#include <string>

#include "platform/text.h"

namespace ctl {

inline HWND find(const std::map<int, HWND>& controls, int id) {
    const auto entry = controls.find(id);
    return entry == controls.end() ? nullptr : entry->second;
}

inline void setText(const std::map<int, HWND>& controls, int id, const std::wstring& value) {
    if (HWND control = find(controls, id)) SetWindowTextW(control, value.c_str());
}

// Leaves an unchanged caption alone, so that a countdown written on every
// frame repaints the button only when it changes.
inline void setChangedText(const std::map<int, HWND>& controls, int id,
                           const std::wstring& value) {
    if (HWND control = find(controls, id); control != nullptr && text(control) != value)
        SetWindowTextW(control, value.c_str());
}

inline void select(const std::map<int, HWND>& controls, int id, int item) {
    if (HWND control = find(controls, id))
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

inline void repaint(const std::map<int, HWND>& controls, int id) {
    if (HWND control = find(controls, id)) InvalidateRect(control, nullptr, TRUE);
}

}  // namespace ctl
