// The program's entry point: one instance at a time, the App object for the
// whole run, the main window and the message loop.

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <exception>
#include <memory>

#include "app/app.h"
#include "app/rules/paint_texts.h"
#include "app/rules/window_rules.h"
#include "app/windows/error_box.h"
#include "platform/check.h"
#include "platform/text.h"

namespace {

// The mutex is never owned: only its existence marks a running instance.
class InstanceMark {
public:
    InstanceMark()
        : handle_(CreateMutexW(nullptr, FALSE, L"Local\\HFOrvande.Application.0_1")),
          otherInstance_(GetLastError() == ERROR_ALREADY_EXISTS) {}
    ~InstanceMark() {
        if (handle_ != nullptr) CloseHandle(handle_);
    }
    InstanceMark(const InstanceMark&) = delete;
    InstanceMark& operator=(const InstanceMark&) = delete;
    bool otherInstance() const { return otherInstance_; }

private:
    HANDLE handle_;
    bool otherInstance_;
};

// Takes the main window down before the App object when start-up fails after
// the window exists: detached first, so that no message of the failure box's
// modal loop reaches a destroyed App, and so that its WM_DESTROY posts no
// WM_QUIT that would end the box at once. After a normal run the window is
// already gone.
class MainWindowTeardown {
public:
    explicit MainWindowTeardown(App& app) : app_(app) {}
    ~MainWindowTeardown() {
        HWND window = app_.mainWindow;
        if (window == nullptr || !IsWindow(window)) return;
        KillTimer(window, displayTimer);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (app_.plotWindow != nullptr) SetWindowLongPtrW(app_.plotWindow, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    MainWindowTeardown(const MainWindowTeardown&) = delete;
    MainWindowTeardown& operator=(const MainWindowTeardown&) = delete;

private:
    App& app_;
};

std::filesystem::path programFolder() {
    std::array<wchar_t, 260> file{};
    GetModuleFileNameW(nullptr, file.data(), static_cast<DWORD>(file.size()));
    return std::filesystem::path(file.data()).parent_path();
}

void registerClass(HINSTANCE instance, const wchar_t* name, UINT style, WNDPROC procedure,
                   HBRUSH background) {
    WNDCLASSW windowClass{};
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

// An empty area when it cannot be read, which limits nothing.
app::Point workArea() {
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) work = {};
    return {work.right - work.left, work.bottom - work.top};
}

// Everything up to the first dongle search; the window's creation builds the
// controls and sets the scale.
void startUp(App& app, HINSTANCE instance, int showCommand) {
    app.programFolder = programFolder();
    app.load();
    app.rtl = std::make_unique<Rtl>(app.programFolder);
    registerClass(instance, L"HFOrvandeMain", 0, windowProc, app.backgroundBrush);
    registerClass(instance, L"HFPlot", CS_DBLCLKS, plotProc, app.backgroundBrush);

    const app::Point work = workArea();
    const app::Point size = app::windowSize(1.0f, work.x, work.y);
    HWND window = CreateWindowExW(
        0, L"HFOrvandeMain", app::windowTitle,
        WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
        CW_USEDEFAULT, CW_USEDEFAULT, size.x, size.y, nullptr, nullptr, instance, &app);
    check(window != nullptr, "Creation de la fenetre impossible.");

    const app::Point scaled = app::windowSize(app.uiScale, work.x, work.y);
    SetWindowPos(window, nullptr, 0, 0, scaled.x, scaled.y, SWP_NOZORDER | SWP_NOMOVE);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    app.scan();
}

// Enter applies the whole form, whatever control has the focus, and never
// reaches the control. Its errors are shown like those of the window
// procedures: they do not end the program.
void applyForm(App& app) {
    try {
        app.readConfig(true, true);
    } catch (const std::exception& error) {
        showError(app.mainWindow, error);
    }
}

void runMessageLoop(App& app) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
            applyForm(app);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int showCommand) {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&commonControls);

    const InstanceMark instanceMark;
    if (instanceMark.otherInstance()) {
        MessageBoxW(nullptr, L"L’application HF est déjà ouverte.", L"HF Orvande", MB_OK);
        return 0;
    }
    try {
        App app;
        const MainWindowTeardown teardown(app);
        startUp(app, instance, showCommand);
        runMessageLoop(app);
    } catch (const std::exception& error) {
        // The App object is gone by now, its threads joined and the library unloaded.
        MessageBoxW(nullptr, wide(error.what()).c_str(), L"HF Orvande — démarrage impossible", MB_ICONERROR);
        return 1;
    }
    return 0;
}
