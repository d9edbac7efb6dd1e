// The UI scale, the scaled fonts and the placing of every control for the
// main window's current size.

#include "app/app.h"
#include "app/rules/construction_rules.h"
#include "app/rules/control_ids.h"
#include "app/rules/form_display.h"
#include "app/windows/window_scale.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace {

constexpr std::array<int, 10> comboIds{105, 106, 115, 117, 121, 125, 108, 113, 130, 133};

// Looked up by name: older systems do not have it.
std::optional<uint32_t> windowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return std::nullopt;
    const FARPROC found = GetProcAddress(user32, "GetDpiForWindow");
    if (found == nullptr) return std::nullopt;
    const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(found));
    return getDpiForWindow(window);
}

void moveWindow(HWND window, const hf::Box& box, UINT flags) {
    SetWindowPos(window, nullptr, box.x, box.y, box.w, box.h, flags);
}

}  // namespace

float windowUiScale(HWND window) {
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) work = {};
    return app::uiScale(windowDpi(window), work.right - work.left, work.bottom - work.top);
}

HFONT windowFont(const wchar_t* face, int height, int weight) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

void App::updateFonts() {
    uiScale = windowUiScale(mainWindow);
    const app::FontSizes sizes = app::fontSizes(uiScale);

    // The controls hold the previous fonts until they are given the new ones,
    // the frequency field possibly the compact one.
    const std::array<HFONT, 3> previous{compactFrequencyFont, uiFont, frequencyFont};
    compactFrequencyFont = windowFont(L"Consolas", sizes.compactFrequency, FW_SEMIBOLD);
    uiFont = windowFont(L"Segoe UI", sizes.ui, FW_NORMAL);
    frequencyFont = windowFont(L"Consolas", sizes.frequency, FW_SEMIBOLD);

    for (const auto& [id, window] : controls) {
        HFONT font = id == 101 ? frequencyFont : uiFont;
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    for (int id : comboIds) {
        const auto found = controls.find(id);
        if (found == controls.end()) continue;
        SendMessageW(found->second, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), sizes.comboItem);
        SendMessageW(found->second, CB_SETITEMHEIGHT, 0, sizes.comboItem);
    }

    for (HFONT font : previous)
        if (font != nullptr) DeleteObject(font);
}

void App::layout() {
    RECT client{};
    GetClientRect(mainWindow, &client);
    const app::LogicalSize size = app::logicalClientSize(client.right, client.bottom, uiScale);
    layoutWidth = size.width;
    layoutHeight = size.height;
    uiLayout = std::make_unique<hf::UiLayout>(layoutWidth, layoutHeight);

    const auto found = [this](int id) -> HWND {
        const auto entry = controls.find(id);
        return entry == controls.end() ? nullptr : entry->second;
    };
    const auto caption = [&](int id, const wchar_t* text) {
        if (HWND window = found(id)) SetWindowTextW(window, text);
    };

    if (HWND frequency = found(101)) {
        HFONT font = uiLayout->compact ? compactFrequencyFont : frequencyFont;
        SendMessageW(frequency, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }

    constexpr UINT placeFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    for (const auto& [id, box] : uiLayout->boxes)
        if (HWND window = found(id)) moveWindow(window, app::windowBox(id, box, uiScale), placeFlags);

    const bool customRange = sel(app::rangeCombo) == app::customRangeItem;
    for (int id : {131, 132}) {
        if (HWND window = found(id)) {
            EnableWindow(window, customRange ? TRUE : FALSE);
            ShowWindow(window, SW_SHOW);
        }
    }

    if (plotWindow != nullptr) {
        const hf::Box plot = app::plotWindowBox(uiLayout->plot, uiScale);
        MoveWindow(plotWindow, plot.x, plot.y, plot.w, plot.h, TRUE);
    }

    for (std::size_t k = 0; k < app::stepCaptions.size(); ++k)
        caption(320 + static_cast<int>(k), app::stepCaptions[k]);
    const auto presets = app::presetCaptions(uiSettings.Mode);
    for (std::size_t k = 0; k < app::spanCaptions.size(); ++k) {
        caption(340 + static_cast<int>(k), app::spanCaptions[k]);
        caption(400 + static_cast<int>(k), presets[k]);
    }
    caption(100, app::listenCaption(running, paused));

    RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
