// The frequency scanner: every entry goes through the ordinary form road, and
// only frames of the settings generation it published count for its dwell.

#include "app/app.h"

#include "app/rules/command_rules.h"
#include "app/rules/construction_rules.h"
#include "app/rules/reception_rules.h"
#include "app/rules/reentry_guard.h"
#include "app/rules/scan_rules.h"
#include "app/windows/control_access.h"
#include "platform/text.h"

#include <exception>

namespace {

app::DwellState dwellState(const App& app) {
    return {app.scanGeneration, app.scanFrames, app.dwellStartMs, app.lastSignalMs};
}

void keepDwellState(App& app, const app::DwellState& state) {
    app.scanGeneration = state.generation;
    app.scanFrames = state.frames;
    app.dwellStartMs = state.dwellStartMs;
    app.lastSignalMs = state.lastSignalMs;
}

// Shows scan entry `index` in the form and publishes it; a refused form stops
// the scanner. The first entry lets the form choose a fresh centre.
void applyEntry(App& app, std::size_t index) {
    app.uiSettings = app::scanEntryForm(app.scanList[index], index, app.uiSettings);
    app.settingsUI();
    bool published = false;
    {
        const app::ReentryGuard hold(app.scanHeld);
        published = app.readConfig(false, false);
    }
    if (!published) {
        app.stopRadioScan();
        return;
    }
    app.resetScanDwell();
    ctl::setText(app.controls, app::scanStartButton, app::tuningCaption);
    app.signalPresent = false;
    InvalidateRect(app.plotWindow, nullptr, FALSE);
}

}  // namespace

void App::resetScanDwell() { keepDwellState(*this, {settingsGeneration, 0, 0, 0}); }

void App::beginRadioScan() {
    if (!readConfig(true, true)) return;

    const int range = sel(app::rangeCombo);
    std::vector<hf::Settings> list;
    try {
        const auto readLimit = [this](int id) { return app::scanLimit(text(controls.at(id))); };
        list = app::scanEntries(range, uiSettings, readLimit, favorites);
    } catch (const std::exception& e) {
        MessageBoxW(mainWindow, wide(e.what()).c_str(), app::scanBoxCaption, MB_ICONINFORMATION);
        return;
    }
    if (list.empty()) return;  // no range chosen

    if (!running) {
        uiSettings = list.front();
        settingsUI();
        start();
        if (!running) return;  // the start has said why in the status line
    }

    const int32_t span = app::scanSpan(range).value_or(spectrumSpan);
    if (span != spectrumSpan) {
        spectrumSpan = span;
        waterfall.clear();
    }
    ctl::select(controls, app::spanCombo, app::spanSelection(spectrumSpan));
    layout();
    refreshChoices();

    scanList = std::move(list);
    radioScanning = true;
    scanIndex = 0;
    ctl::setText(controls, app::scanStartButton, app::scanStartedCaption);
    applyEntry(*this, 0);
}

void App::advanceScan() {
    if (paused || !radioScanning || scanList.empty() || scanHeld) return;
    scanIndex = (scanIndex + 1) % scanList.size();
    applyEntry(*this, scanIndex);
}

void App::stopRadioScan() {
    radioScanning = false;
    lastSignalMs = 0;
    ctl::setText(controls, app::scanStartButton, app::startScanCaption);
}

void App::scanTick(const hf::Frame& frame) {
    if (!radioScanning || stopRequested || paused || scanHeld) return;
    const bool timed = app::timedDwell(sel(app::dwellModeCombo), uiSettings.Mode, squelch, squelchOpen);
    const uint64_t now = GetTickCount64();

    app::DwellState state = dwellState(*this);
    const app::DwellAction action =
        app::dwellStep(state, {frame.generation, signalPresent, now}, timed, scanDwellMs);
    keepDwellState(*this, state);
    if (action == app::DwellAction::hop)
        advanceScan();
    else if (action == app::DwellAction::caption)
        ctl::setChangedText(controls, app::scanStartButton,
                            app::dwellCaption(state, timed, signalPresent, now, scanDwellMs));
}
