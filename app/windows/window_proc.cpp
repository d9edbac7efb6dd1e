// The two window procedures: every message of the main window and of the plot
// becomes a call on the one App object, whose pointer each window keeps in
// its user data.

#include "app/app.h"
#include "app/rules/control_ids.h"

#include <windowsx.h>

#include <cmath>
#include <optional>

#include "app/rules/paint_texts.h"
#include "app/rules/plot_geometry.h"
#include "app/rules/plot_mouse_rules.h"
#include "app/rules/reception_rules.h"
#include "app/rules/squelch_gate.h"
#include "app/rules/window_rules.h"
#include "app/windows/control_access.h"
#include "app/windows/error_box.h"
#include "app/windows/gdi.h"

namespace {

App* attachedApp(HWND window) {
    return reinterpret_cast<App*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// On WM_NCCREATE the creation parameter is the App object.
App* attach(HWND window, LPARAM lParam) {
    auto* app = static_cast<App*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
    return app;
}

app::Point lParamPoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

app::Rect rect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

LRESULT hitCode(app::FrameHit hit) {
    switch (hit) {
    case app::FrameHit::caption: return HTCAPTION;
    case app::FrameHit::left: return HTLEFT;
    case app::FrameHit::right: return HTRIGHT;
    case app::FrameHit::top: return HTTOP;
    case app::FrameHit::bottom: return HTBOTTOM;
    case app::FrameHit::topLeft: return HTTOPLEFT;
    case app::FrameHit::topRight: return HTTOPRIGHT;
    case app::FrameHit::bottomLeft: return HTBOTTOMLEFT;
    case app::FrameHit::bottomRight: return HTBOTTOMRIGHT;
    case app::FrameHit::client: break;
    }
    return HTCLIENT;
}

LRESULT hitTest(const App& app, HWND window, LPARAM lParam) {
    const app::Point screen = lParamPoint(lParam);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    POINT client{screen.x, screen.y};
    ScreenToClient(window, &client);
    return hitCode(app::frameHit(IsZoomed(window) != FALSE, app.uiScale, rect(bounds), screen,
                                 {client.x, client.y}, app.layoutWidth));
}

// The caption buttons act on release, like system ones.
LRESULT captionRelease(const App& app, HWND window, WPARAM wParam, LPARAM lParam) {
    switch (app::captionAction(lParamPoint(lParam), app.uiScale, app.layoutWidth)) {
    case app::CaptionAction::passOn: return DefWindowProcW(window, WM_LBUTTONUP, wParam, lParam);
    case app::CaptionAction::close: PostMessageW(window, WM_CLOSE, 0, 0); break;
    case app::CaptionAction::toggleMaximised:
        ShowWindow(window, IsZoomed(window) ? SW_RESTORE : SW_MAXIMIZE);
        break;
    case app::CaptionAction::minimise: ShowWindow(window, SW_MINIMIZE); break;
    case app::CaptionAction::none: break;
    }
    return 0;
}

void trackingLimits(const App& app, HWND window, MINMAXINFO& info) {
    std::optional<app::MonitorArea> area;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        area = app::MonitorArea{rect(monitor.rcMonitor), rect(monitor.rcWork)};
    const app::TrackingSizes sizes = app::trackingSizes(app.uiScale, area);
    info.ptMinTrackSize = {sizes.minTrack.x, sizes.minTrack.y};
    if (sizes.maximised) {
        info.ptMaxSize = {sizes.maximised->size.x, sizes.maximised->size.y};
        info.ptMaxPosition = {sizes.maximised->position.x, sizes.maximised->position.y};
    }
}

void squelchMoved(App& app, int position) {
    app.squelch = app::squelchFromSlider(position);
    const app::SquelchGate gate = app::nextSquelchGate({app.squelchGate, app.squelchAboveMs}, app.squelch,
                                                       app.currentLevel, GetTickCount64());
    app.squelchGate = gate.open;
    app.squelchAboveMs = gate.aboveMs;
    app.squelchOpen = app.squelchGate;
    app.setStatus(app::squelchStatus(app.squelch));
    app.sliderValueChanged(app::squelchSlider);
}

void sliderMoved(App& app, HWND slider, int code) {
    if (slider == nullptr) return;
    const int position = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    if (slider == ctl::find(app.controls, app::squelchSlider)) {
        squelchMoved(app, position);
        if (code == TB_ENDTRACK) app.save();
    } else if (slider == ctl::find(app.controls, app::waterfallLightSlider)) {
        app.waterfallLight = position;
        InvalidateRect(app.plotWindow, nullptr, FALSE);
    } else if (slider == ctl::find(app.controls, app::volumeSlider)) {
        app.volume = static_cast<float>(position) / 100.0f;
        app.sliderValueChanged(app::volumeSlider);
        if (code == TB_ENDTRACK) app.save();
    }
}

LRESULT controlColour(const App& app, HDC dc, HWND control) {
    if (control == ctl::find(app.controls, app::frequencyField)) {
        SetBkColor(dc, RGB(4, 59, 36));
        const bool lit = app::frequencyLit(app.running, app.paused, app.signalPresent);
        SetTextColor(dc, lit ? RGB(65, 255, 110) : RGB(65, 220, 255));
        return reinterpret_cast<LRESULT>(lit ? app.signalBrush : app.frequencyBrush);
    }
    SetBkColor(dc, RGB(6, 28, 46));
    SetTextColor(dc, control == ctl::find(app.controls, app::decodedTextField) ? RGB(98, 232, 137) : RGB(221, 236, 247));
    return reinterpret_cast<LRESULT>(app.controlBrush);
}

std::wstring comboItemText(HWND combo, UINT item) {
    if (item == static_cast<UINT>(-1)) return {};  // the closed box with no selection
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, item, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void drawComboItem(const App& app, const DRAWITEMSTRUCT& item) {
    {
        const gdi::Brush fill =
            gdi::solidBrush((item.itemState & ODS_SELECTED) ? RGB(25, 78, 107) : RGB(12, 37, 59));
        FillRect(item.hDC, &item.rcItem, fill);
    }
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, (item.itemState & ODS_DISABLED) ? RGB(168, 181, 191) : RGB(239, 248, 255));
    const gdi::Selection font(item.hDC, app.uiFont);
    const std::wstring text = comboItemText(item.hwndItem, item.itemID);
    RECT box = item.rcItem;
    box.left += std::lroundf(5.0f * app.uiScale);
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &box,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

LRESULT drawItem(App& app, HWND window, WPARAM wParam, LPARAM lParam) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.CtlType == ODT_BUTTON) {
        app.drawButton(item);
        return TRUE;
    }
    if (item.CtlType == ODT_COMBOBOX) {
        drawComboItem(app, item);
        return TRUE;
    }
    return DefWindowProcW(window, WM_DRAWITEM, wParam, lParam);
}

LRESULT measureItem(const App& app, HWND window, WPARAM wParam, LPARAM lParam) {
    auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item.CtlType != ODT_COMBOBOX) return DefWindowProcW(window, WM_MEASUREITEM, wParam, lParam);
    item.itemHeight = static_cast<UINT>(std::lroundf(23.0f * app.uiScale));
    return TRUE;
}

void dpiChanged(App& app, HWND window, LPARAM lParam) {
    app.updateFonts();
    const RECT& r = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    app.layout();
}

// The playback thread reports the output in use (0xFFFFFFFF for the system
// default, the combo's first entry) and whether the requested one failed.
void audioSwitched(App& app, HWND window, WPARAM output, LPARAM failed) {
    const auto entry = static_cast<uint32_t>(output + 1);
    SendMessageW(ctl::find(app.controls, app::audioOutputList), CB_SETCURSEL, entry, 0);
    app.save();
    if (failed != 0)
        MessageBoxW(window, L"Cette sortie audio est indisponible. La sortie précédente est conservée.",
                    L"Sortie audio", MB_ICONINFORMATION);
    else
        app.setStatus(L"Sortie audio changée — réception conservée");
}

// A running search or reception ends first; its end message then destroys
// the window.
void closeRequested(App& app, HWND window) {
    if (app.searching) {
        app.setStatus(app::closingAfterSearchStatus);
        app.closePending = true;
    } else if (app.running) {
        app.closePending = true;
        app.stopRequested = true;
        app.cancel();
        app.setStatus(app::closingReceptionStatus);
    } else {
        DestroyWindow(window);
    }
}

void destroyed(App& app, HWND window) {
    KillTimer(window, displayTimer);
    // The loop must end even when the settings cannot be written.
    try {
        app.save();
    } catch (const std::exception& error) {
        showError(window, error);
    }
    PostQuitMessage(0);
}

bool resizeCursorAt(const App& app, HWND plot) {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(plot, &cursor);
    RECT client{};
    GetClientRect(plot, &client);
    const app::PlotGeometry geometry = app::plotGeometry(client.right, client.bottom, app.uiScale);
    const app::Point logical{app::logicalPixel(cursor.x, app.uiScale), app::logicalPixel(cursor.y, app.uiScale)};
    return app::resizeCursor(geometry, logical, app.uiSettings, app.spectrumSpan, GetKeyState(VK_SHIFT) < 0);
}

}  // namespace

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        attach(window, lParam)->mainWindow = window;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    App* app = attachedApp(window);
    if (app == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return guarded(window, [&] { return app->handleMessage(window, message, wParam, lParam); });
}

LRESULT CALLBACK plotProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        attach(window, lParam);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    App* app = attachedApp(window);
    if (app == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return guarded(window, [&] { return app->handlePlotMessage(window, message, wParam, lParam); });
}

LRESULT App::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        build();
        layout();
        return 0;
    case WM_DESTROY:
        destroyed(*this, hwnd);
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) layout();
        return 0;
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // all painting is off-screen
    case WM_CLOSE:
        closeRequested(*this, hwnd);
        return 0;
    case WM_GETMINMAXINFO:
        DefWindowProcW(hwnd, message, wParam, lParam);
        trackingLimits(*this, hwnd, *reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_DRAWITEM:
        return drawItem(*this, hwnd, wParam, lParam);
    case WM_MEASUREITEM:
        return measureItem(*this, hwnd, wParam, lParam);
    case WM_NCCALCSIZE:
        return 0;  // the client area is the whole window
    case WM_NCHITTEST:
        return hitTest(*this, hwnd, lParam);
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_TIMER:
        tick();
        return 0;
    case WM_HSCROLL:
        sliderMoved(*this, reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return controlColour(*this, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_LBUTTONUP:
        return captionRelease(*this, hwnd, wParam, lParam);
    case WM_DPICHANGED:
        dpiChanged(*this, hwnd, lParam);
        return 0;
    case receiverEndedMessage:
        done();
        return 0;
    case searchEndedMessage:
        scanDone();
        return 0;
    case audioSwitchedMessage:
        audioSwitched(*this, hwnd, wParam, lParam);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT App::handlePlotMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto x = [&] { return app::logicalPixel(GET_X_LPARAM(lParam), uiScale); };
    const auto y = [&] { return app::logicalPixel(GET_Y_LPARAM(lParam), uiScale); };
    switch (message) {
    case WM_PAINT:
        paintPlot(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, resizeCursorAt(*this, hwnd) ? IDC_SIZEWE : IDC_ARROW));
        return 1;
    case WM_LBUTTONDOWN:
        mouseDown(x(), y());
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (dragMode == app::dragNone) return DefWindowProcW(hwnd, message, wParam, lParam);
        mouseMove(x(), y(), message == WM_LBUTTONUP);
        return 0;
    case WM_LBUTTONDBLCLK:
        plotTune(x());
        return 0;
    case WM_MOUSEWHEEL:
        // One tuning step per message, whatever the size of the turn.
        command(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 104 : 103, 0);
        return 0;
    case WM_CAPTURECHANGED:
        dragMode = app::dragNone;
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
