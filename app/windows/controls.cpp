// The factory of the main window's child controls, and the save-file dialog
// of the CW text and the recordings.

#include "app/app.h"

#include <commdlg.h>
#include <uxtheme.h>

#include <array>
#include <string_view>

#include "app/rules/window_rules.h"
#include "platform/check.h"

namespace {

constexpr size_t pathCharacters = 260;

}  // namespace

void App::control(int id, const wchar_t* className, const wchar_t* text, DWORD style) {
    check(!controls.contains(id), "Identifiant de controle deja utilise.");
    const app::ControlLook look = app::controlLook(className, style);
    if (look == app::ControlLook::ownerDrawnButton) style |= BS_OWNERDRAW;
    style |= WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    // The real place and size come with the layout.
    HWND window = CreateWindowExW(0, className, text, style, 0, 0, 10, 10, mainWindow,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleW(nullptr), nullptr);
    controls[id] = window;
    if (std::wstring_view(className) == L"COMBOBOX") SetWindowSubclass(window, App::comboProc, comboSubclass, 0);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont), TRUE);
    if (look == app::ControlLook::plainCheckBox)
        SetWindowTheme(window, L"", L"");
    else
        SetWindowTheme(window, L"DarkMode_Explorer", nullptr);
}

std::filesystem::path App::saveDialog(const wchar_t* filter, const wchar_t* defaultExtension) {
    std::array<wchar_t, pathCharacters> file{};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mainWindow;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    // Cancelled or failed: the empty path, which the callers take as a cancel.
    if (!GetSaveFileNameW(&dialog)) return {};
    return std::filesystem::path(file.data());
}
