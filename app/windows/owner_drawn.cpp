// The dark relief face of buttons, combo boxes and panels, and the painting
// of the owner-drawn buttons and of the closed combo boxes.

#include "app/app.h"
#include "app/rules/button_palette.h"
#include "app/rules/control_ids.h"
#include "app/windows/colour_ref.h"
#include "app/windows/gdi.h"
#include "platform/text.h"

#include <vector>

namespace {

constexpr COLORREF windowBackground = RGB(6, 21, 37);
constexpr int corner = 12;
// Buttons are drawn this many times larger and reduced, for smooth corners.
constexpr int oversampling = 3;

std::wstring selectedItemText(HWND combo) {
    const LRESULT item = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (item < 0) return {};
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
    if (length <= 0) return {};
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(item),
                                        reinterpret_cast<LPARAM>(text.data()));
    if (copied <= 0) return {};
    return std::wstring(text.data(), static_cast<size_t>(copied));
}

}  // namespace

void App::reliefFace(HDC dc, RECT rect, COLORREF top, COLORREF bottom, COLORREF border, bool pressed) {
    if (!RectVisible(dc, &rect)) return;
    gdi::SavedState outer(dc);
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    {
        gdi::SavedState unclipped(dc);
        BeginPath(dc);
        RoundRect(dc, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1, corner, corner);
        EndPath(dc);
        SelectClipPath(dc, RGN_AND);
        const app::Colour from = colourOf(top);
        const app::Colour to = colourOf(bottom);
        const int height = rect.bottom - rect.top;
        for (int y = rect.top; y < rect.bottom; ++y) {
            const gdi::Brush row =
                gdi::solidBrush(colourRef(app::faceRowColour(from, to, y - rect.top, height, pressed)));
            const RECT line{rect.left, y, rect.right, y + 1};
            FillRect(dc, &line, row);
        }
    }
    const gdi::Pen pen = gdi::solidPen(1, border);
    gdi::Selection penChoice(dc, pen);
    gdi::Selection brushChoice(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1, corner, corner);
}

void App::drawButton(const DRAWITEMSTRUCT& item) {
    const RECT& target = item.rcItem;
    if (target.right <= target.left || target.bottom <= target.top) return;
    const int w = target.right - target.left;
    const int h = target.bottom - target.top;
    gdi::OffscreenSurface large(item.hDC, oversampling * w, oversampling * h);
    if (!large.ready()) return;

    SetMapMode(large.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(large.dc(), 1, 1, nullptr);
    SetViewportExtEx(large.dc(), oversampling, oversampling, nullptr);
    DRAWITEMSTRUCT scaled = item;
    scaled.hDC = large.dc();
    scaled.rcItem = {0, 0, w, h};
    drawButtonContents(scaled);
    SetMapMode(large.dc(), MM_TEXT);
    SetWindowOrgEx(large.dc(), 0, 0, nullptr);
    SetViewportOrgEx(large.dc(), 0, 0, nullptr);

    gdi::SavedState saved(item.hDC);
    IntersectClipRect(item.hDC, target.left, target.top, target.right, target.bottom);
    SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, target.left, target.top, w, h, large.dc(), 0, 0, oversampling * w,
               oversampling * h, SRCCOPY);
}

void App::drawButtonContents(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    gdi::SavedState saved(dc);
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    {
        const gdi::Brush background = gdi::solidBrush(windowBackground);
        FillRect(dc, &rect, background);
    }

    app::ButtonState state;
    state.running = running;
    state.radioScanning = radioScanning;
    state.muted = muted;
    state.modeSelection = sel(app::modeCombo);
    state.stepSelection = sel(app::stepCombo);
    state.spanSelection = sel(app::spanCombo);
    state.rangeSelection = sel(app::rangeCombo);
    state.dwellMs = scanDwellMs;
    if (const auto field = controls.find(app::bandwidthField); field != controls.end())
        state.bandwidth = app::formBandwidth(text(field->second));
    const app::Palette palette =
        app::buttonPalette(static_cast<int>(item.CtlID), (item.itemState & ODS_DISABLED) != 0, state);

    reliefFace(dc, rect, colourRef(palette.top), colourRef(palette.bottom), colourRef(palette.border),
               (item.itemState & ODS_SELECTED) != 0);

    gdi::Selection font(dc, uiFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colourRef(palette.text));
    const std::wstring caption = text(item.hwndItem);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &rect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);

    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = rect;
        InflateRect(&focus, -5, -5);
        DrawFocusRect(dc, &focus);
    }
}

void App::paintCombo(HWND combo, HDC dc) {
    RECT rect{};
    GetClientRect(combo, &rect);
    gdi::SavedState saved(dc);
    {
        const gdi::Brush background = gdi::solidBrush(colourRef(app::comboBackground));
        FillRect(dc, &rect, background);
    }
    reliefFace(dc, rect, colourRef(app::comboTop), colourRef(app::comboBottom), colourRef(app::comboBorder),
               false);

    gdi::Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(combo, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colourRef(IsWindowEnabled(combo) ? app::comboText : app::comboDisabledText));
    const std::wstring item = selectedItemText(combo);
    RECT textBox{rect.left + 8, rect.top, rect.right - 27, rect.bottom};
    DrawTextW(dc, item.c_str(), static_cast<int>(item.size()), &textBox,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);

    const gdi::Pen pen = gdi::solidPen(2, colourRef(app::comboChevron));
    gdi::Selection penChoice(dc, pen);
    const POINT chevron[] = {{rect.right - 18, rect.bottom / 2 - 2},
                             {rect.right - 14, rect.bottom / 2 + 2},
                             {rect.right - 10, rect.bottom / 2 - 2}};
    Polyline(dc, chevron, 3);
}
