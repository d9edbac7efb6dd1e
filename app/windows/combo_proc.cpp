// Every combo box of the main window paints its closed face itself.

#include "app/app.h"
#include "app/windows/error_box.h"
#include "app/windows/gdi.h"

namespace {

// The combos are children of the main window, whose user data is the App.
App* owningApp(HWND combo) {
    HWND parent = GetParent(combo);
    if (parent == nullptr) return nullptr;
    return reinterpret_cast<App*>(GetWindowLongPtrW(parent, GWLP_USERDATA));
}

LRESULT comboMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        if (App* app = owningApp(window)) {
            gdi::Paint paint(window);
            app->paintCombo(window, paint.dc());
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (App* app = owningApp(window)) {
            app->paintCombo(window, reinterpret_cast<HDC>(wParam));
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CB_SETCURSEL:
    case CB_SHOWDROPDOWN: {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    case WM_NCDESTROY: {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        RemoveWindowSubclass(window, App::comboProc, comboSubclass);
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK App::comboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR /*id*/, DWORD_PTR /*data*/) {
    return guarded(GetParent(window), [&] { return comboMessage(window, message, wParam, lParam); });
}
