#include "app/app.h"
#include "app/rules/control_ids.h"

#include "app/rules/plot_bins.h"
#include "app/rules/plot_geometry.h"
#include "app/rules/plot_mouse_rules.h"
#include "app/rules/plot_rules.h"
#include "app/windows/gdi.h"
#include "hf/modes.h"
#include "hf/waterfall_colours.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr COLORREF labelColour = RGB(165, 199, 222);
constexpr COLORREF sliderTextColour = RGB(220, 242, 255);
constexpr COLORREF knobColour = RGB(35, 209, 236);

app::SpectrumView spectrumView(const App& a) {
    return {a.spectrumSpan, a.uiSettings.center, a.sharedSettings.center, a.uiSettings.Frequency};
}

// A waterfall colour is laid out as a bitmap stores it; a brush wants red low.
COLORREF brushColour(uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

void fill(HDC dc, RECT rect, COLORREF colour) {
    const gdi::Brush brush = gdi::solidBrush(colour);
    FillRect(dc, &rect, brush);
}

void line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

using gdi::textAt;
using gdi::textIn;

// One paint of the plot on the off-screen surface, in logical units.
class PlotPainter {
public:
    PlotPainter(App& a, HDC dc, const app::PlotGeometry& plot)
        : a_(a),
          dc_(dc),
          g_(plot),
          span_(a.spectrumSpan),
          edges_(app::passbandColumns(plot, a.uiSettings, a.spectrumSpan)),
          shadeLo_(std::clamp(edges_.lo, 50, plot.columns + 50)),
          shadeHi_(std::clamp(edges_.hi, 50, plot.columns + 50)),
          gridPen_(gdi::solidPen(1, RGB(21, 55, 77))),
          edgePen_(gdi::solidPen(2, RGB(65, 255, 90))),
          tracePen_(gdi::solidPen(1, RGB(65, 255, 90))),
          fillPen_(gdi::solidPen(1, RGB(8, 32, 73))),
          markerPen_(gdi::solidPen(1, RGB(255, 85, 94))) {}

    void paint() {
        SelectObject(dc_, gridPen_);
        titleBand();
        secondLine();
        fill(dc_, {shadeLo_, 44, shadeHi_, 44 + g_.spectrumHeight}, RGB(12, 53, 52));
        levelGrid();
        frequencyGrid();
        trace(currentFrame());
        passbandEdges();
        waterfallImage();
        tuningMarker();
        spectrumSliders();
        backgroundStrip();
        passbandHandles();
        waterfallSliders();
    }

private:
    int right() const { return g_.columns + 50; }
    int waterfallTop() const { return g_.spectrumHeight + 45; }

    void titleBand() {
        fill(dc_, {50, 0, g_.width - 5, 23}, RGB(8, 113, 47));
        textIn(dc_, {57, 1, g_.width - 10, 23}, app::plotTitle(a_.uiSettings, span_), RGB(255, 255, 255),
               DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }

    void secondLine() {
        app::ScanLine scan;
        scan.scanning = a_.radioScanning;
        scan.step = a_.uiSettings.Step;
        if (a_.radioScanning) {
            const auto button = a_.controls.find(app::scanStartButton);
            if (button != a_.controls.end()) scan.scanCaption = text(button->second);
            scan.rangeSelection = a_.sel(app::rangeCombo);
            scan.scanStep = app::scanStep(a_.scanList);
        }
        textIn(dc_, {210, 25, right(), 44}, app::plotSecondLine(scan), RGB(191, 241, 247),
               DT_SINGLELINE | DT_END_ELLIPSIS);
        textAt(dc_, 50, 25, L"Amplitude (dBFS)", labelColour);
    }

    void levelGrid() {
        for (const app::LevelLine& level :
             app::levelGrid(a_.spectrumTop, a_.spectrumRange, g_.spectrumHeight)) {
            line(dc_, 50, level.y, right(), level.y);
            textAt(dc_, 0, level.y - 7, level.label, labelColour);
        }
    }

    void frequencyGrid() {
        const uint32_t centre = app::viewCentre(a_.uiSettings.center, a_.uiSettings.Frequency);
        const int labelY = g_.spectrumHeight + g_.waterfallHeight + 49;
        for (const app::FrequencyLine& mark : app::frequencyGrid(g_, centre, span_)) {
            line(dc_, mark.x, 44, mark.x, 44 + g_.spectrumHeight);
            textAt(dc_, mark.labelX, labelY, mark.label, labelColour);
        }
    }

    // Only a frame of the settings in force is drawn; the mailbox keeps it
    // for the display tick.
    hf::Frame currentFrame() {
        const std::lock_guard lock(a_.frameMutex);
        if (a_.latestFrame.generation != a_.settingsGeneration) return {};
        return a_.latestFrame;
    }

    void trace(const hf::Frame& frame) {
        if (frame.wideSpectrum.empty()) return;
        const int bottom = 44 + g_.spectrumHeight;
        std::vector<POINT> points;
        points.reserve(static_cast<size_t>(g_.columns));
        {
            const gdi::Selection pen(dc_, fillPen_);
            for (int x = 50; x < right(); ++x) {
                const float v = a_.displayBin(frame, x - 50, g_.columns, true);
                const int y = app::traceRow(v, a_.spectrumTop, a_.spectrumRange, g_.spectrumHeight);
                points.push_back({x, y});
                if (x < shadeLo_ || x > shadeHi_) line(dc_, x, y, x, bottom);
            }
        }
        const gdi::Selection pen(dc_, tracePen_);
        Polyline(dc_, points.data(), static_cast<int>(points.size()));
    }

    bool inPlot(int x) const { return x >= 50 && x <= right(); }

    void passbandEdges() {
        const gdi::Selection pen(dc_, edgePen_);
        for (int x : {edges_.lo, edges_.hi})
            if (inPlot(x)) line(dc_, x, 44, x, 44 + g_.spectrumHeight);
    }

    void waterfallImage() {
        const size_t columns = static_cast<size_t>(std::max(a_.waterfallColumns, 0));
        const size_t rows = static_cast<size_t>(std::max(a_.waterfallRows, 0));
        if (a_.waterfall.empty()) {
            textAt(dc_, 70, g_.spectrumHeight + 45,
                   L"Le spectre et le waterfall apparaîtront pendant la réception.", labelColour);
            return;
        }
        // A history that does not match its recorded size is never read past.
        if (columns == 0 || a_.waterfall.size() != columns * rows) return;
        const std::array<int32_t, 3> key{a_.waterfallLight, a_.waterfallRange, a_.waterfallContrast};
        if (key != a_.waterfallColoursKey) {
            a_.waterfallColours = app::waterfallColourTable(key[0], key[1], key[2]);
            a_.waterfallColoursKey = key;
        }
        // During a pan the history still belongs to the published centre while
        // the view already follows the drag.
        const int64_t shift =
            a_.dragMode == app::dragView
                ? app::panShift(a_.uiSettings.center, a_.sharedSettings.center, a_.waterfallColumns, span_)
                : 0;
        app::waterfallImage(a_.waterfall, a_.waterfallColumns, shift, a_.waterfallColours,
                            a_.waterfallPixels);

        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = a_.waterfallColumns;
        info.bmiHeader.biHeight = -a_.waterfallRows;  // top-down: row 0, the newest, at the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetStretchBltMode(dc_, COLORONCOLOR);
        StretchDIBits(dc_, 50, waterfallTop(), g_.columns, g_.waterfallHeight, 0, 0, a_.waterfallColumns,
                      a_.waterfallRows, a_.waterfallPixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }

    void tuningMarker() {
        const int x = app::offsetColumn(g_, app::tunedOffset(a_.uiSettings), span_);
        if (inPlot(x)) {
            const gdi::Selection pen(dc_, markerPen_);
            line(dc_, x, 44, x, g_.spectrumHeight + g_.waterfallHeight + 45);
        }
    }

    void spectrumSliders() {
        const auto sliders = app::spectrumSliders(a_.spectrumTop, a_.spectrumRange);
        const int left = g_.columns + 60;
        for (int k = 0; k < 2; ++k) {
            const int yk = 58 * k;
            textAt(dc_, left, 44 + yk, sliders[k].caption, labelColour);
            textAt(dc_, left, 61 + yk, std::to_wstring(sliders[k].value) + L" dB", labelColour);
            fill(dc_, {g_.columns + 65, 84 + yk, g_.columns + 145, 87 + yk}, RGB(39, 104, 132));
            const int xk = g_.columns + 65 + app::knobOffset(sliders[k].fraction, 80);
            fill(dc_, {xk - 3, 80 + yk, xk + 3, 91 + yk}, knobColour);
        }
    }

    // Previews, row by row, how the history's typical level looks at each
    // background setting.
    void backgroundStrip() {
        const float level = app::referenceLevel(a_.waterfall);
        for (int r = 0; r < g_.waterfallHeight; ++r) {
            const int y = waterfallTop() + r;
            const uint32_t colour = hf::waterfallMapped(level, app::backgroundStripLight(r, g_.waterfallHeight),
                                                        a_.waterfallRange, a_.waterfallContrast);
            fill(dc_, {20, y, 31, y + 1}, brushColour(colour));
        }
        const float light = static_cast<float>(a_.waterfallLight) / 100.0f;
        const int yf = app::knobOffset(1.0f - light, g_.waterfallHeight) + waterfallTop();
        fill(dc_, {14, yf - 2, 37, yf + 3}, RGB(255, 255, 255));
    }

    void passbandHandles() {
        const int mode = a_.uiSettings.Mode;
        const auto handle = [&](int hx, const wchar_t* arrow) {
            if (!inPlot(hx)) return;
            fill(dc_, {hx - 6, 45, hx + 7, 61}, RGB(20, 110, 70));
            textIn(dc_, {hx - 6, 45, hx + 7, 61}, arrow, RGB(160, 255, 185),
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        };
        if (mode != hf::modeUSB) handle(app::lowerHandleColumn(edges_), L"<");
        if (mode != hf::modeLSB) handle(app::upperHandleColumn(edges_), L">");
    }

    void waterfallSliders() {
        const gdi::Font font(CreateFontW(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                         DEFAULT_PITCH, L"Segoe UI"));
        const gdi::Selection selected(dc_, font);
        const int track = app::waterfallSliderTrack(g_.height);
        const auto sliders =
            app::waterfallSliders(a_.waterfallLight, a_.waterfallRange, a_.waterfallContrast);
        for (int k = 0; k < 3; ++k) {
            const int xa = g_.columns + 60 + 33 * k;
            const int xb = xa + 33;
            const UINT centred = DT_CENTER | DT_SINGLELINE;
            textIn(dc_, {xa, 171, xb, 184}, sliders[k].caption, sliderTextColour, centred);
            textIn(dc_, {xa, track + 201, xb, track + 214}, std::to_wstring(sliders[k].value),
                   sliderTextColour, centred);
            fill(dc_, {xb - 19, 194, xb - 15, 194 + track}, RGB(32, 87, 119));
            const int yk = app::knobOffset(1.0f - sliders[k].fraction, track);
            fill(dc_, {xa + 9, yk + 191, xa + 23, yk + 198}, knobColour);
        }
    }

    App& a_;
    HDC dc_;
    const app::PlotGeometry& g_;
    const int32_t span_;
    const app::PassbandColumns edges_;
    const int shadeLo_;
    const int shadeHi_;
    const gdi::Pen gridPen_;
    const gdi::Pen edgePen_;
    const gdi::Pen tracePen_;
    const gdi::Pen fillPen_;
    const gdi::Pen markerPen_;
};

}  // namespace

void App::paintPlot(HWND plot) {
    const gdi::Paint paint(plot);
    RECT client{};
    GetClientRect(plot, &client);
    const app::PlotGeometry geometry = app::plotGeometry(client.right, client.bottom, uiScale);
    const gdi::OffscreenSurface surface(paint.dc(), client.right, client.bottom);
    HDC dc = surface.dc();
    FillRect(dc, &client, backgroundBrush);
    {
        // The pens outlive the saved state, so they are deleted only once
        // restoring the context has deselected them.
        PlotPainter painter(*this, dc, geometry);
        const gdi::SavedState saved(dc);
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, 1000, 1000, nullptr);
        const int viewport = static_cast<int>(std::lround(1000.0f * uiScale));
        SetViewportExtEx(dc, viewport, viewport, nullptr);
        SelectObject(dc, paintFont);
        SetBkMode(dc, TRANSPARENT);
        painter.paint();
    }
    BitBlt(paint.dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

float App::displayBin(const hf::Frame& frame, int x, int width, bool useForm) {
    return app::displayValue(frame, x, width, spectrumView(*this), useForm);
}

float App::waterfallBin(const hf::Frame& frame, int x, int width) {
    return app::waterfallValue(frame, x, width, spectrumView(*this));
}
