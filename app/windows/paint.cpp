// The main window's own painting: caption band, panels, labels, slider
// values, the dongle state, the S-meter and the line under the plot, drawn
// off screen and copied in one go.

#include "app/app.h"
#include "app/rules/control_ids.h"
#include "app/rules/meter_rules.h"
#include "app/rules/paint_texts.h"
#include "app/windows/colour_ref.h"
#include "app/windows/gdi.h"
#include "app/windows/window_scale.h"
#include "platform/text.h"

#include <cmath>

namespace {

constexpr COLORREF windowBackground = RGB(6, 21, 37);
constexpr COLORREF captionBand = RGB(3, 31, 55);
constexpr COLORREF captionText = RGB(223, 243, 255);
constexpr COLORREF closeSign = RGB(255, 160, 163);
constexpr COLORREF panelTop = RGB(3, 30, 51);
constexpr COLORREF panelBottom = RGB(3, 23, 40);
constexpr COLORREF panelBorder = RGB(12, 135, 179);
constexpr COLORREF panelCaption = RGB(223, 240, 252);
constexpr COLORREF frequencyTop = RGB(7, 79, 48);
constexpr COLORREF frequencyBottom = RGB(2, 30, 24);
constexpr COLORREF frequencyLitBorder = RGB(92, 255, 139);
constexpr COLORREF frequencyUnlitBorder = RGB(44, 211, 137);
constexpr COLORREF labelText = RGB(165, 199, 222);
constexpr COLORREF sliderValue = RGB(101, 221, 243);
constexpr COLORREF megahertz = RGB(92, 230, 215);
constexpr COLORREF dongleChoice = RGB(86, 219, 145);
constexpr COLORREF informationText = RGB(174, 234, 243);
constexpr COLORREF meterTitle = RGB(227, 245, 255);
constexpr COLORREF meterScale = RGB(220, 239, 252);
constexpr COLORREF meterReadout = RGB(237, 247, 255);

constexpr int captionHeight = 28;

using gdi::textAt;
using gdi::textIn;

RECT rectOfBox(const hf::Box& b) { return {b.x, b.y, b.x + b.w, b.y + b.h}; }

// The box of a control, when the layout has one.
const hf::Box* boxOf(const hf::UiLayout& layout, int id) {
    const auto found = layout.boxes.find(id);
    return found == layout.boxes.end() ? nullptr : &found->second;
}

}  // namespace

BOOL App::paint() {
    gdi::Paint painting(mainWindow);
    RECT client{};
    GetClientRect(mainWindow, &client);
    const RECT area = painting.area();
    {
        gdi::OffscreenSurface surface(painting.dc(), client.right, client.bottom);
        if (!surface.ready()) return painting.end();
        HDC dc = surface.dc();
        {
            gdi::SavedState saved(dc);
            IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
            {
                const gdi::Brush background = gdi::solidBrush(windowBackground);
                FillRect(dc, &client, background);
            }

            SetMapMode(dc, MM_ANISOTROPIC);
            SetWindowExtEx(dc, 1000, 1000, nullptr);
            const int viewport = static_cast<int>(std::lround(1000.0f * uiScale));
            SetViewportExtEx(dc, viewport, viewport, nullptr);
            SetBkMode(dc, TRANSPARENT);
            gdi::Selection font(dc, paintFont);

            const int W = layoutWidth;
            {
                const gdi::Brush band = gdi::solidBrush(captionBand);
                const RECT bandRect{0, 0, W, captionHeight};
                FillRect(dc, &bandRect, band);
            }
            const int iconSize = static_cast<int>(std::lround(18.0f * uiScale));
            const gdi::Icon icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                                               IMAGE_ICON, iconSize, iconSize, LR_DEFAULTCOLOR)));
            if (icon.get() != nullptr) DrawIconEx(dc, 8, 5, icon.get(), 18, 18, 0, nullptr, DI_NORMAL);
            textAt(dc, 34, 4, app::windowTitle, captionText);
            textAt(dc, W - 118, 4, L"−", captionText);
            textAt(dc, W - 76, 4, app::maximiseSign(IsZoomed(mainWindow) != FALSE), captionText);
            textAt(dc, W - 34, 4, L"×", closeSign);

            SetViewportOrgEx(dc, 0, static_cast<int>(std::lround(captionHeight * uiScale)), nullptr);
            if (uiLayout) {
                const hf::UiLayout& layout = *uiLayout;
                for (const hf::Panel& panel : layout.panels) {
                    reliefFace(dc, rectOfBox(panel.rect), panelTop, panelBottom, panelBorder, false);
                    if (!panel.caption.empty())
                        textAt(dc, panel.rect.x + 10, panel.rect.y + app::captionOffset(panel.caption),
                               panel.caption, panelCaption);
                }
                const bool lit = app::frequencyLit(running, paused, signalPresent);
                reliefFace(dc, rectOfBox(layout.frequency), frequencyTop, frequencyBottom,
                           lit ? frequencyLitBorder : frequencyUnlitBorder, false);
                for (const hf::Label& label : layout.labels) textAt(dc, label.x, label.y, label.text, labelText);

                if (const hf::Box* b = boxOf(layout, 140))
                    textAt(dc, b->x + b->w + 5, b->y + 1, app::squelchValueText(squelch), sliderValue);
                if (const hf::Box* b = boxOf(layout, 118))
                    textAt(dc, b->x + b->w + 7, b->y + 4, app::volumeValueText(volume), sliderValue);
                textAt(dc, layout.frequency.x + layout.frequency.w - 48, layout.frequency.y + 16, L"MHz",
                       megahertz);

                textAt(dc, 47, 76, app::dongleSerialText(wide(selectedDevice.serial)), labelText);
                textAt(dc, 18, 109, app::dongleChoiceText(sel(app::dongleList)), dongleChoice);

                drawMeter(dc);

                const std::wstring line =
                    app::informationLine(snrShown, uiSettings.Mode, signalPresent, toneShown, wpmShown);
                textIn(dc, {layout.plot.x + 220, layout.cwTop + 5, W - 12, layout.cwTop + 24}, line,
                       informationText, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
            }
        }
        BitBlt(painting.dc(), area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left,
               area.top, SRCCOPY);
    }
    return painting.end();
}

void App::drawMeter(HDC dc) {
    if (!uiLayout) return;
    const hf::Box& info = uiLayout->info;
    const app::MeterGeometry meter = app::meterGeometry(info, uiLayout->compact);

    if (meter.full) {
        reliefFace(dc, rectOfBox(info), panelTop, panelBottom, panelBorder, false);
        textIn(dc, {info.x, info.y + 4, info.x + info.w, info.y + 23}, L"S-MÈTRE", meterTitle,
               DT_SINGLELINE | DT_CENTER);
    } else {
        textAt(dc, info.x, info.y + 4, L"S-mètre", labelText);
    }

    const int lit = app::litSegments(running, paused, currentLevel);
    {
        gdi::Selection noOutline(dc, GetStockObject(NULL_PEN));
        for (int i = 0; i < app::meterSegmentCount; ++i) {
            const app::Colour colour = app::segmentColour(i);
            const auto corners = app::meterSegment(meter, i);
            POINT points[4];
            for (size_t k = 0; k < corners.size(); ++k) points[k] = {corners[k].x, corners[k].y};
            const gdi::Brush fill =
                gdi::solidBrush(colourRef(i < lit ? colour : app::unlitSegmentColour(colour)));
            {
                gdi::Selection brush(dc, fill);
                Polygon(dc, points, 4);
            }
            if (i < lit) {
                const gdi::Pen edge = gdi::solidPen(1, colourRef(app::litEdgeColour(colour)));
                gdi::Selection pen(dc, edge);
                MoveToEx(dc, points[0].x, points[0].y, nullptr);
                LineTo(dc, points[1].x, points[1].y);
            }
        }
    }

    if (meter.full) {
        const gdi::Font scaleFont(windowFont(L"Segoe UI", -11, 400));
        gdi::Selection font(dc, scaleFont);
        for (int value : app::meterScaleValues)
            textIn(dc, rectOf(app::scaleLabelBox(meter, value)), std::to_wstring(value), meterScale,
                   DT_CENTER | DT_SINGLELINE);
    }

    textIn(dc, rectOf(meter.readout), app::meterReadout(running, paused, currentLevel), meterReadout,
           DT_CENTER | DT_TOP | DT_SINGLELINE);
}
