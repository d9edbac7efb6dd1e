#include "tests/e2e/probe/remote_window.h"

#include <stdexcept>
#include <string>

namespace {

constexpr UINT kAnswerMs = 5000;
constexpr UINT kActionPatienceMs = 1000;

}  // namespace

bool waitUntil(const std::function<bool()>& ready, int timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if (ready()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
}

HWND findMainWindow() { return FindWindowW(L"HFOrvandeMain", nullptr); }

HWND mainWindow(int timeoutMs) {
    HWND found = nullptr;
    // Visible only once its creation, controls included, has finished; its
    // first paint may still keep it from answering (a cold Wine loads its
    // fonts then), and the queries that follow give a busy window no grace.
    const auto answers = [](HWND window) {
        DWORD_PTR reply = 0;
        return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &reply) != 0;
    };
    const auto ready = [&] {
        return (found = findMainWindow()) != nullptr && IsWindowVisible(found) && answers(found);
    };
    if (!waitUntil(ready, timeoutMs))
        throw std::runtime_error("no window of class HFOrvandeMain after " +
                                 std::to_string(timeoutMs) + " ms");
    return found;
}

HWND control(int id) {
    HWND child = GetDlgItem(mainWindow(), id);
    if (!child) throw std::runtime_error("no control with id " + std::to_string(id));
    return child;
}

LRESULT query(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &reply))
        throw std::runtime_error("the window does not answer (message " + std::to_string(message) + ")");
    return static_cast<LRESULT>(reply);
}

void act(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR reply = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kActionPatienceMs, &reply)) return;
    if (GetLastError() != ERROR_TIMEOUT || !IsWindow(window))
        throw std::runtime_error("the window did not take message " + std::to_string(message));
}

std::wstring windowText(HWND window) {
    const auto length = static_cast<std::size_t>(query(window, WM_GETTEXTLENGTH));
    std::wstring result(length + 1, L'\0');
    const auto copied = static_cast<std::size_t>(
        query(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(result.data())));
    result.resize(copied);
    return result;
}

bool isClass(HWND window, const wchar_t* name) {
    wchar_t actual[256] = {};
    return GetClassNameW(window, actual, 256) > 0 && lstrcmpiW(actual, name) == 0;
}
