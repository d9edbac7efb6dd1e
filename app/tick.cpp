#include "app/app.h"
#include "app/rules/control_ids.h"

#include "app/rules/plot_geometry.h"
#include "app/rules/plot_rules.h"
#include "app/rules/reentry_guard.h"
#include "app/rules/tick_rules.h"
#include "app/windows/colour_ref.h"
#include "app/windows/control_access.h"
#include "hf/modes.h"
#include "hf/passband.h"
#include "platform/text.h"

namespace {

void invalidateBox(HWND window, const hf::Box& box, float uiScale, bool erase) {
    const RECT rect = rectOf(app::windowRect(box, uiScale));
    InvalidateRect(window, &rect, erase ? TRUE : FALSE);
}

}  // namespace

void App::tick() {
    if (running && stopRequested) cancel();

    // One time for the whole tick, so that a box left open below does not age
    // the frame just taken into a watchdog stop.
    const uint64_t now = GetTickCount64();

    // The scanner may show a message box from here, whose message loop keeps
    // delivering the timer: those ticks must not stack up inside this one.
    // They still keep the watch, counting frames without taking their text,
    // which the outer tick shows once the box is gone.
    const app::ReentryGuard guard(ticking);
    const bool showing = guard.entered();

    hf::Frame frame;
    bool taken = false;
    {
        const std::lock_guard lock(frameMutex);
        if (framesPublished != framesConsumed) {
            framesConsumed = framesPublished;
            taken = true;
            if (showing) {
                frame = latestFrame;
                latestFrame.cwText.clear();
            }
        }
    }
    // A frame dropped for being paused or stale still proves the dongle alive.
    if (taken && running) lastFrameMs = now;
    if (showing && taken && app::frameShown(running, paused, frame.generation, settingsGeneration))
        showFrame(frame, now);

    if (app::watchdogDue(running, stopRequested, now, lastFrameMs)) {
        watchdogFired = true;
        stopRequested = true;
        stopRadioScan();
        cancel();
        setStatus(app::watchdogStatus);
    }
}

void App::showFrame(const hf::Frame& frame, uint64_t now) {
    currentLevel = frame.level;
    wpmShown = static_cast<float>(frame.wpm);

    const bool cw = uiSettings.Mode == hf::modeCW;
    const app::SquelchStep gate = app::squelchStep({squelchGate, squelchAboveMs}, radioScanning && cw,
                                                   squelch, currentLevel, now);
    squelchGate = gate.gate.open;
    squelchAboveMs = gate.gate.aboveMs;
    squelchOpen = gate.open;

    const hf::Passband band = hf::passband(uiSettings.Mode, uiSettings.Bandwidth);
    snrShown = hf::signalContrast(frame.narrowSpectrum, band.lo, band.hi);
    if (cw && !frame.narrowSpectrum.empty())
        toneShown = app::cwTone(frame.narrowSpectrum, band, uiSettings.Tone, toneShown);
    updatePresence(frame, band.lo, band.hi, now);
    // Text decoded out of the received span is noise from the edge of the band.
    if (!outOfSpan && !frame.cwText.empty()) appendDecodedText(frame.cwText);
    addWaterfallRow(frame);
    repaintDisplays();
    setStatus(displayStatus(frame));
    scanTick(frame);
}

void App::updatePresence(const hf::Frame& frame, int lo, int hi, uint64_t now) {
    bool present = false;
    if (!outOfSpan) {
        const bool cw = uiSettings.Mode == hf::modeCW;
        const bool detected = presence.update(frame.narrowSpectrum, lo, hi,
                                              static_cast<uint32_t>(frame.generation), now, cw);
        present = app::shownPresence({detected, radioScanning, cw, squelch, squelchOpen});
    }
    if (present == signalPresent) return;
    signalPresent = present;
    // The frequency field and its panel light up with a signal.
    if (HWND field = ctl::find(controls, app::frequencyField)) InvalidateRect(field, nullptr, TRUE);
    if (uiLayout) invalidateBox(mainWindow, uiLayout->frequency, uiScale, true);
}

void App::appendDecodedText(const std::string& cwText) {
    app::appendDecoded(decodedText, wide(cwText));
    HWND box = ctl::find(controls, app::decodedTextField);
    if (box == nullptr) return;
    SetWindowTextW(box, decodedText.c_str());
    const WPARAM end = decodedText.size();
    SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

void App::addWaterfallRow(const hf::Frame& frame) {
    RECT client{};
    if (plotWindow != nullptr) GetClientRect(plotWindow, &client);
    const app::PlotGeometry plot = app::plotGeometry(client.right, client.bottom, uiScale);
    app::fitWaterfall(waterfall, waterfallColumns, waterfallRows, plot.columns, plot.waterfallHeight);
    app::scrollWaterfall(waterfall, waterfallColumns);
    for (int32_t x = 0; x < waterfallColumns; ++x)
        waterfall[static_cast<size_t>(x)] = waterfallBin(frame, x, waterfallColumns);
}

void App::repaintDisplays() {
    if (plotWindow != nullptr) InvalidateRect(plotWindow, nullptr, FALSE);
    if (!uiLayout) return;
    invalidateBox(mainWindow, uiLayout->info, uiScale, false);
    invalidateBox(mainWindow, app::cwReadoutBox(*uiLayout, layoutWidth), uiScale, false);
}

std::wstring App::displayStatus(const hf::Frame& frame) {
    app::StatusInputs in;
    in.dongleName = name(selectedDevice);
    in.form = uiSettings;
    in.frameWpm = frame.wpm;
    in.scanning = radioScanning;
    if (radioScanning) {
        in.continuousScan = sel(app::dwellModeCombo) == 1;
        in.rangeSelection = sel(app::rangeCombo);
        in.scanIndex = scanIndex;
        in.scanCount = scanList.size();
        in.scanStep = app::scanStep(scanList);
    }
    in.signalPresent = signalPresent;
    in.outOfSpan = outOfSpan;
    in.snr = snrShown;
    in.tone = toneShown;
    in.squelch = squelch;
    in.squelchOpen = squelchOpen;
    in.underruns = underruns;
    in.lostBlocks = lostBlocks;
    return app::statusLine(in);
}
