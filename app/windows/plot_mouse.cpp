// The plot under the left button: tuning by click, dragging the frequency,
// the passband edges and the view, and setting the display sliders.

#include "app/app.h"
#include "app/rules/control_ids.h"

#include <string>

#include "app/rules/plot_mouse_rules.h"
#include "app/windows/control_access.h"

namespace {

app::DragView currentView(const App& app) {
    RECT client{};
    GetClientRect(app.plotWindow, &client);
    const float scale = app.uiScale > 0 ? app.uiScale : 1.0f;
    return {app::plotGeometry(client.right, client.bottom, app.uiScale), app.spectrumSpan,
            static_cast<float>(client.bottom) / scale};
}

app::DragStart recordedStart(const App& app) {
    return {app.dragStartX,      app.dragStartY,         app.dragStartTop,
            app.dragStartCentre, app.dragStartFrequency, app.dragStartBandwidth};
}

void record(App& app, const app::DragStart& start) {
    app.dragStartX = start.x;
    app.dragStartY = start.y;
    app.dragStartTop = start.top;
    app.dragStartCentre = start.centre;
    app.dragStartFrequency = start.frequency;
    app.dragStartBandwidth = start.bandwidth;
    app.lastDragApplyMs = 0;
}

app::DisplayLevels displayLevels(const App& app) {
    return {app.spectrumTop, app.spectrumRange, app.waterfallLight, app.waterfallRange,
            app.waterfallContrast};
}

void keep(App& app, const app::DisplayLevels& levels) {
    app.spectrumTop = levels.spectrumTop;
    app.spectrumRange = levels.spectrumRange;
    app.waterfallLight = levels.waterfallLight;
    app.waterfallRange = levels.waterfallRange;
    app.waterfallContrast = levels.waterfallContrast;
}

// The form's controls and the main window's "Fond WF" slider show what the drag set.
void showDragged(App& app, int32_t mode) {
    if (mode == app::dragFrequency) app.frequencyText();
    if (mode == app::dragLowerEdge || mode == app::dragUpperEdge)
        ctl::setText(app.controls, app::bandwidthField, std::to_wstring(app.uiSettings.Bandwidth));
    if (mode == app::dragLightSlider || mode == app::dragLightStrip) {
        if (HWND slider = ctl::find(app.controls, app::waterfallLightSlider))
            SendMessageW(slider, TBM_SETPOS, TRUE, app.waterfallLight);
    }
}

}  // namespace

void App::mouseDown(int x, int y) {
    record(*this, app::dragStart(x, y, spectrumTop, uiSettings));
    const app::Press press = app::pressAt(currentView(*this).plot, spectrumSpan, uiSettings, x, y,
                                          GetKeyState(VK_SHIFT) < 0);
    if (press.stopsScanner) stopRadioScan();
    if (press.mode == app::dragNone) return;
    // Captured before the mode is set: losing an earlier capture clears the mode.
    SetCapture(plotWindow);
    dragMode = press.mode;
    if (press.appliesAtOnce) mouseMove(x, y, false);
}

void App::mouseMove(int x, int y, bool release) {
    if (dragMode == app::dragNone) return;
    const app::DragStart start = recordedStart(*this);
    if (release && app::isClick(dragMode, start, x, y)) {
        dragMode = app::dragNone;
        ReleaseCapture();
        plotTune(x);
        return;
    }

    app::DisplayLevels levels = displayLevels(*this);
    app::dragTo(dragMode, currentView(*this), start, x, y, uiSettings, levels);
    keep(*this, levels);
    showDragged(*this, dragMode);

    const uint64_t now = GetTickCount64();
    const app::DragPublish publish = app::dragPublish(dragMode, release, now, lastDragApplyMs);
    if (publish != app::DragPublish::none) {
        readConfig(false, publish == app::DragPublish::publishAndSave);
        lastDragApplyMs = now;
    }
    InvalidateRect(plotWindow, nullptr, FALSE);
    if (release) {
        // The display-only drags are saved here too.
        save();
        dragMode = app::dragNone;
        ReleaseCapture();
    }
}

void App::plotTune(int x) {
    const auto frequency = app::clickFrequency(currentView(*this).plot, spectrumSpan, uiSettings, x);
    if (!frequency) return;
    stopRadioScan();
    uiSettings.Frequency = *frequency;
    frequencyText();
    dragMode = app::dragNone;
    readConfig(true, true);
}
