#include "tests/e2e/probe/user_actions.h"

#include <windows.h>

#include <commctrl.h>

#include <stdexcept>
#include <string>

#include "tests/e2e/probe/arguments.h"
#include "tests/e2e/probe/remote_window.h"

namespace {

// Shares the probe's input state with the thread that owns a window, which
// SetFocus needs for a window of another thread.
class SharedInput {
public:
    explicit SharedInput(HWND window)
        : ours(GetCurrentThreadId()), theirs(GetWindowThreadProcessId(window, nullptr)) {
        if (!AttachThreadInput(ours, theirs, TRUE)) throw std::runtime_error("cannot share input with the program");
    }
    ~SharedInput() { AttachThreadInput(ours, theirs, FALSE); }
    SharedInput(const SharedInput&) = delete;
    SharedInput& operator=(const SharedInput&) = delete;

private:
    DWORD ours;
    DWORD theirs;
};

void post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!PostMessageW(window, message, wParam, lParam))
        throw std::runtime_error("cannot post message " + std::to_string(message));
}

struct NamedKey {
    const wchar_t* name;
    UINT code;
};

constexpr NamedKey kNamedKeys[] = {
    {L"VK_RETURN", VK_RETURN}, {L"VK_ESCAPE", VK_ESCAPE}, {L"VK_TAB", VK_TAB},
    {L"VK_SPACE", VK_SPACE},   {L"VK_BACK", VK_BACK},     {L"VK_DELETE", VK_DELETE},
    {L"VK_UP", VK_UP},         {L"VK_DOWN", VK_DOWN},     {L"VK_LEFT", VK_LEFT},
    {L"VK_RIGHT", VK_RIGHT},   {L"VK_PRIOR", VK_PRIOR},   {L"VK_NEXT", VK_NEXT},
    {L"VK_HOME", VK_HOME},     {L"VK_END", VK_END},
};

}  // namespace

void click(HWND control) {
    if (isClass(control, WC_BUTTONW)) {
        act(control, BM_CLICK);
        return;
    }
    RECT area{};
    GetClientRect(control, &area);
    const LPARAM centre = MAKELPARAM(area.right / 2, area.bottom / 2);
    post(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    post(control, WM_LBUTTONUP, 0, centre);
}

void pressKey(HWND control, UINT key) {
    {
        SharedInput shared(control);
        SetFocus(control);
    }
    const LPARAM down = 1 | static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    post(control, WM_KEYDOWN, key, down);
    post(control, WM_KEYUP, key, down | 0xC0000000);
}

void setText(HWND control, const std::wstring& text) {
    act(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void chooseComboItem(HWND combo, int index) {
    if (query(combo, CB_SETCURSEL, static_cast<WPARAM>(index)) != index)
        throw std::runtime_error("the combo box has no item " + std::to_string(index));
    const WPARAM selChange = MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE);
    act(GetParent(combo), WM_COMMAND, selChange, reinterpret_cast<LPARAM>(combo));
}

void moveTrackbar(HWND trackbar, int position) {
    query(trackbar, TBM_SETPOS, TRUE, position);
    const auto handle = reinterpret_cast<LPARAM>(trackbar);
    HWND parent = GetParent(trackbar);
    act(parent, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), handle);
    act(parent, WM_HSCROLL, TB_ENDTRACK, handle);
}

void resizeClient(HWND window, int width, int height) {
    RECT outer{};
    RECT client{};
    if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client))
        throw std::runtime_error("the window has no size");
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    if (!SetWindowPos(window, nullptr, 0, 0, width + frameWidth, height + frameHeight,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
        throw std::runtime_error("the window refused the new size");
    // The sized window lays itself out on WM_SIZE; a query behind it returns
    // once that is done.
    query(window, WM_NULL);
}

UINT virtualKey(const std::wstring& name) {
    int code = 0;
    if (parseNumber(name, code) && code > 0 && code < 256) return static_cast<UINT>(code);
    for (const NamedKey& key : kNamedKeys)
        if (name == key.name) return key.code;
    throw std::runtime_error("unknown key (give a number or a name such as VK_RETURN)");
}
