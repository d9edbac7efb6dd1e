// The frequency field (101): tuned digit by digit with the mouse, the wheel
// and the arrow keys, typed and applied with Enter, and painted on the
// frequency panel's gradient.

#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/rules/control_ids.h"
#include "app/rules/digit_tuning.h"
#include "app/rules/frequency_field_look.h"
#include "app/rules/paint_texts.h"
#include "app/windows/colour_ref.h"
#include "app/windows/control_access.h"
#include "app/windows/error_box.h"
#include "app/windows/gdi.h"
#include "hf/frequency_text.h"
#include "platform/text.h"

namespace {

// The left edge of character `index` in the edit's client area, or nothing
// when the edit cannot place it.
std::optional<int> characterLeft(HWND edit, size_t index) {
    const LRESULT position = SendMessageW(edit, EM_POSFROMCHAR, index, 0);
    if (position == -1) return std::nullopt;
    return static_cast<short>(LOWORD(position));
}

int characterWidth(HDC dc, wchar_t c) {
    SIZE size{};
    GetTextExtentPoint32W(dc, &c, 1, &size);
    return size.cx;
}

HFONT editFont(HWND edit) { return reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)); }

void selectCharacters(HWND edit, int first, int afterLast) {
    SendMessageW(edit, EM_SETSEL, first, afterLast);
}

void paintField(const App& app, HWND edit) {
    gdi::Paint paint(edit);
    RECT client{};
    GetClientRect(edit, &client);
    const int width = std::max<int>(client.right, 1);
    const int height = std::max<int>(client.bottom, 1);
    gdi::OffscreenSurface surface(paint.dc(), width, height);
    const HDC dc = surface.dc();

    // The rows continue the panel behind the field, in the main window's coordinates.
    POINT origin{0, 0};
    MapWindowPoints(edit, GetParent(edit), &origin, 1);
    const hf::Box panel = app.uiLayout ? app.uiLayout->frequency : hf::Box{};
    for (int row = 0; row < height; ++row) {
        const gdi::Brush brush =
            gdi::solidBrush(colourRef(app::fieldRowColour(row, origin.y, app.uiScale, panel)));
        const RECT line{0, row, width, row + 1};
        FillRect(dc, &line, brush);
    }

    const gdi::Selection font(dc, editFont(edit));
    SetBkMode(dc, TRANSPARENT);
    const bool lit = app::frequencyLit(app.running, app.paused, app.signalPresent);
    SetTextColor(dc, colourRef(app::fieldTextColour(lit)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int top = (client.bottom - metrics.tmHeight) / 2;

    const std::wstring shown = text(edit);
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                 reinterpret_cast<LPARAM>(&selectionEnd));
    const bool focused = GetFocus() == edit;
    const gdi::Brush bar = gdi::solidBrush(RGB(255, 255, 255));
    for (size_t i = 0; i < shown.size(); ++i) {
        const std::optional<int> x = characterLeft(edit, i);
        if (!x) continue;
        TextOutW(dc, *x, top, &shown[i], 1);
        if (focused && i >= selectionStart && i < selectionEnd) {
            const int right = *x + characterWidth(dc, shown[i]);
            const RECT under{*x, client.bottom - 3, right, client.bottom - 1};
            FillRect(dc, &under, bar);
        }
    }
    BitBlt(paint.dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

LRESULT fieldMessage(App& app, HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                     UINT_PTR subclassId) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // the paint covers the whole client area
    case WM_PAINT:
        paintField(app, edit);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // Never passed on: a click neither moves the caret nor starts a selection.
        RECT client{};
        GetClientRect(edit, &client);
        const int y = GET_Y_LPARAM(lParam);
        const int digit = app.frequencyHit(edit, GET_X_LPARAM(lParam));
        if (y >= 0 && y < client.bottom && digit >= 0) {
            SetFocus(edit);
            selectCharacters(edit, digit, digit + 1);
            app.tuneDigit(y < client.bottom / 2 ? +1 : -1);
        }
        return 0;
    }
    case WM_LBUTTONUP:
        return 0;
    case WM_MOUSEWHEEL: {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(edit, &point);
        const int digit = app.frequencyHit(edit, point.x);
        if (digit >= 0) {
            selectCharacters(edit, digit, digit + 1);
            app.tuneDigit(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? +1 : -1);
        }
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            app.tuneDigit(wParam == VK_UP ? +1 : -1);
            return 0;
        }
        if (wParam == 'A' && GetKeyState(VK_CONTROL) < 0) {
            selectCharacters(edit, 0, -1);
            return 0;
        }
        break;
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return 1;
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, App::freqProc, subclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK App::freqProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT_PTR subclassId, DWORD_PTR refData) {
    App& app = *reinterpret_cast<App*>(refData);
    return guarded(GetParent(edit),
                   [&] { return fieldMessage(app, edit, message, wParam, lParam, subclassId); });
}

void App::tuneDigit(int direction) {
    HWND edit = ctl::find(controls, app::frequencyField);
    if (edit == nullptr) return;
    DWORD selectionStart = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), 0);
    const auto step = app::stepDigit(text(edit), static_cast<int>(selectionStart), direction);
    if (!step) return;  // a half-typed frequency: Enter will report it
    uiSettings.Frequency = step->frequency;
    SetWindowTextW(edit, step->text.c_str());
    readConfig(true, true);
    selectCharacters(edit, step->selection, step->selection + 1);
}

int App::frequencyHit(HWND edit, int x) {
    const std::wstring shown = text(edit);
    if (shown.empty()) return -1;
    std::vector<int> lefts;
    for (size_t i = 0; i < shown.size(); ++i) {
        const std::optional<int> left = characterLeft(edit, i);
        if (!left) return -1;
        lefts.push_back(*left);
    }
    const gdi::WindowContext context(edit);
    const gdi::Selection font(context.dc(), editFont(edit));
    return app::digitAt(shown, lefts, lefts.back() + characterWidth(context.dc(), shown.back()), x);
}

void App::frequencyText() {
    ctl::setText(controls, app::frequencyField, hf::frequencyDisplay(uiSettings.Frequency));
}
