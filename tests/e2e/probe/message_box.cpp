#include "tests/e2e/probe/message_box.h"

#include <stdexcept>
#include <string>

#include "tests/e2e/probe/remote_window.h"

namespace {

BOOL CALLBACK takeFirstBox(HWND window, LPARAM found) {
    if (!IsWindowVisible(window) || !isClass(window, L"#32770")) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND findMessageBox() {
    HWND found = nullptr;
    EnumWindows(takeFirstBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The first child of `box` of class `wantedClass` for which `accept` holds.
template <class Accept>
HWND firstChild(HWND box, const wchar_t* wantedClass, Accept accept) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (isClass(child, wantedClass) && accept(child)) return child;
    return nullptr;
}

}  // namespace

HWND messageBox(int timeoutMs) {
    HWND box = nullptr;
    if (!waitUntil([&] { return (box = findMessageBox()) != nullptr; }, timeoutMs))
        throw std::runtime_error("no message box after " + std::to_string(timeoutMs) + " ms");
    return box;
}

std::wstring messageBoxText(HWND box) {
    HWND message = firstChild(box, L"Static", [](HWND child) {
        const auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
        return (style & SS_TYPEMASK) != SS_ICON && !windowText(child).empty();
    });
    return message ? windowText(message) : std::wstring();
}

void pressMessageBoxOk(HWND box, int timeoutMs) {
    HWND ok = GetDlgItem(box, IDOK);
    if (!ok) ok = firstChild(box, L"Button", [](HWND) { return true; });
    if (!ok) throw std::runtime_error("the message box has no button");
    act(ok, BM_CLICK);
    if (!waitUntil([&] { return !IsWindow(box); }, timeoutMs))
        throw std::runtime_error("the message box stays open");
}
