// A stand-in main window for testing hfprobe: the program's window class,
// a few controls under the program's ids, and a status line (126) that tells
// what each user action did. Like the program, its message loop takes Enter
// out of the stream.

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

constexpr int kApply = 100;
constexpr int kFrequency = 101;
constexpr int kMode = 105;
constexpr int kVolume = 118;
constexpr int kStatus = 126;
constexpr int kAutoGain = 128;
constexpr int kStop = 129;

// Seen by the self-test, so it knows the exit code really came through.
constexpr int kExitCode = 7;

HWND makeControl(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, int id, int x, int y,
                 int width, int height) {
    return CreateWindowExW(0, windowClass, text, WS_CHILD | style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void buildControls(HWND window) {
    makeControl(window, WC_BUTTONW, L"Appliquer", WS_VISIBLE | BS_PUSHBUTTON, kApply, 20, 20, 120, 30);
    makeControl(window, WC_EDITW, L"7,100 MHz", WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, kFrequency, 160, 20, 200,
                26);
    // Hidden like the program's mode list, whose state the buttons set.
    HWND mode = makeControl(window, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST, kMode, 380, 20, 100, 200);
    for (const wchar_t* item : {L"AM", L"FM", L"USB", L"LSB", L"CW"})
        SendMessageW(mode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageW(mode, CB_SETCURSEL, 0, 0);
    HWND volume = makeControl(window, TRACKBAR_CLASSW, L"", WS_VISIBLE, kVolume, 20, 70, 200, 30);
    SendMessageW(volume, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendMessageW(volume, TBM_SETPOS, TRUE, 50);
    HWND autoGain = makeControl(window, WC_BUTTONW, L"Gain auto", WS_VISIBLE | BS_AUTOCHECKBOX, kAutoGain, 20, 120,
                                120, 24);
    SendMessageW(autoGain, BM_SETCHECK, BST_CHECKED, 0);
    makeControl(window, WC_BUTTONW, L"STOP", WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, kStop, 160, 120, 80, 30);
    makeControl(window, WC_STATICW, L"Prêt", WS_VISIBLE, kStatus, 20, 360, 600, 20);
}

void setStatus(HWND window, const std::wstring& status) { SetDlgItemTextW(window, kStatus, status.c_str()); }

void onCommand(HWND window, int id, int code) {
    if (id == kApply && code == BN_CLICKED) {
        MessageBoxW(window, L"Fréquence hors limites : 0,5 à 52 MHz.", L"Réglage à corriger", MB_ICONINFORMATION);
        setStatus(window, L"Boîte fermée");
    } else if (id == kMode && code == CBN_SELCHANGE) {
        wchar_t item[16] = {};
        GetDlgItemTextW(window, kMode, item, 16);
        setStatus(window, std::wstring(L"Mode : ") + item);
    } else if (id == kFrequency && code == EN_CHANGE) {
        wchar_t frequency[64] = {};
        GetDlgItemTextW(window, kFrequency, frequency, 64);
        setStatus(window, std::wstring(L"Fréquence : ") + frequency);
    }
}

void onScroll(HWND window, WPARAM request, HWND trackbar) {
    const auto position = SendMessageW(trackbar, TBM_GETPOS, 0, 0);
    std::wstring status = L"Volume : " + std::to_wstring(position);
    if (LOWORD(request) == TB_ENDTRACK) status += L" — relâché";
    setStatus(window, status);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        buildControls(window);
        return 0;
    case WM_COMMAND:
        onCommand(window, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_HSCROLL:
        onScroll(window, wParam, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(kExitCode);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const INITCOMMONCONTROLSEX bars{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&bars);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"HFOrvandeMain";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"HFOrvandeMain", L"KALVORE HF — HF Orvande — essai de la sonde",
                                  WS_POPUP | WS_VISIBLE, 100, 100, 640, 400, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
            setStatus(window, L"Entrée sur " + std::to_wstring(GetDlgCtrlID(GetFocus())));
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
