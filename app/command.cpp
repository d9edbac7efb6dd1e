// Every click, combo choice and list double-click of the main window. The
// button rows select in their hidden combos and then act as those combos do,
// so that the combos stay the one record of each choice.

#include "app/app.h"
#include "app/rules/control_ids.h"

#include "app/recording_commands.h"
#include "app/rules/calibration.h"
#include "app/rules/command_rules.h"
#include "app/rules/construction_rules.h"
#include "app/rules/favorites.h"
#include "app/rules/reception_rules.h"
#include "app/rules/reentry_guard.h"
#include "app/rules/scan_rules.h"
#include "app/windows/control_access.h"
#include "app/windows/ini_file.h"
#include "platform/text.h"

#include <string>

namespace {

// Stops the scanner, publishes the whole form and saves it.
void apply(App& app) { app.readConfig(true, true); }

void togglePause(App& app) {
    if (!app.running) return;
    const bool paused = !app.paused.load();
    app.paused.store(paused);
    if (!paused) {
        const app::ReentryGuard hold(app.scanHeld);
        app.readConfig(false, false);
    }
    // Only now: the resume has published a new generation, and the dwell must
    // wait for frames of it rather than of the one before.
    app.resetScanDwell();
    ctl::setText(app.controls, app::pauseButton, app::pauseCaption(paused));
    ctl::setText(app.controls, app::startButton, app::listenCaption(true, paused));
    app.setStatus(paused ? app::pausedStatus : app::resumedStatus);
    ctl::repaint(app.controls, app::pauseButton);
}

void toggleMute(App& app) {
    const bool muted = !app.muted.load();
    app.muted.store(muted);
    ctl::setText(app.controls, app::muteButton, app::muteCaption(muted));
    ctl::repaint(app.controls, app::muteButton);
}

void chooseDongle(App& app) {
    if (app.searching) return;  // the search is replacing the list the choice points into
    if (app.running) {
        ctl::select(app.controls, app::dongleList, app::dongleInUseItem(app.devices, app.selectedDevice));
        InvalidateRect(app.mainWindow, nullptr, TRUE);
        MessageBoxW(app.mainWindow, app::dongleInUseText, app::dongleChoiceCaption,
                    MB_ICONINFORMATION);
        return;
    }
    const auto chosen = app::chosenDongle(app.sel(app::dongleList), app.devices.size());
    if (!chosen) {
        // The prompt changes no setting, but the panel must stop saying the
        // remembered dongle is chosen.
        InvalidateRect(app.mainWindow, nullptr, TRUE);
        return;
    }
    app.save();  // the outgoing dongle keeps its own correction
    app.selectedDevice = app.devices[*chosen];
    const app::IniSection section =
        app::IniFile(app.settingsFile).section(narrow(app.calibrationKey(app.selectedDevice)));
    app.uiSettings.PPM = app::storedCorrection(section, app.selectedDevice);
    ctl::setText(app.controls, app::ppmField, std::to_wstring(app.uiSettings.PPM));
    app.save();
    InvalidateRect(app.mainWindow, nullptr, TRUE);
}

void chooseAudioOutput(App& app) {
    const int item = app.sel(app::audioOutputList);
    if (item < 0) return;
    app.requestedOutput = app::requestedOutput(item);
    if (app.running) {
        // The playback thread switches and reports back, which saves then.
        app.setStatus(app::outputSwitchingStatus);
        return;
    }
    app.save();
    app.setStatus(app::outputRememberedStatus);
}

void recallFavorite(App& app) {
    HWND list = ctl::find(app.controls, app::favoritesList);
    if (list == nullptr) return;
    const LRESULT item = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (item < 0 || static_cast<std::size_t>(item) >= app.favorites.size()) return;
    app.uiSettings = app::recalledFavorite(app.uiSettings, app.favorites[item].second);
    app.settingsUI();
    apply(app);
}

void addFavorite(App& app) {
    if (!app::mayAddFavorite(app.favorites.size())) return;
    if (!app.readConfig(true, true)) return;
    app.favorites.emplace_back(app::favoriteName(app.uiSettings.Frequency), app.uiSettings);
    app.favoriteList();
    app.save();
}

void chooseSpan(App& app) {
    app.spectrumSpan = app::spanOfItem(app.sel(app::spanCombo));
    app.save();
    app.waterfall.clear();
    InvalidateRect(app.plotWindow, nullptr, FALSE);
}

void chooseScanRange(App& app) {
    app.stopRadioScan();
    const int range = app.sel(app::rangeCombo);
    ctl::select(app.controls, app::rangeMirrorCombo, app::mirrorItem(range));
    if (const auto texts = app::rangeTexts(range)) {
        ctl::setText(app.controls, app::rangeStartField, texts->start);
        ctl::setText(app.controls, app::rangeEndField, texts->end);
    }
    app.layout();
}

void chooseMode(App& app) {
    const int mode = app.sel(app::modeCombo);
    const app::ModeDefaults defaults = app::modeDefaults(mode);
    app.uiSettings.Mode = mode;
    app.uiSettings.Bandwidth = defaults.bandwidth;
    app.uiSettings.Step = defaults.step;
    app.settingsUI();
    apply(app);
}

void choosePreset(App& app, int preset) {
    const auto bandwidth = app::presetBandwidth(app.uiSettings.Mode, preset);
    if (!bandwidth) {
        app.setStatus(app::voicePresetsOnlyStatus);
        return;
    }
    app.uiSettings.Bandwidth = *bandwidth;
    app.settingsUI();
    apply(app);
}

void stepFrequency(App& app, int direction) {
    app.uiSettings.Frequency =
        app::steppedFrequency(app.uiSettings.Frequency, app.uiSettings.Step, direction);
    app.frequencyText();
    apply(app);
}

}  // namespace

void App::command(int id, int code) {
    const bool clicked = code == BN_CLICKED;
    const bool chosen = code == CBN_SELCHANGE;

    if (clicked) {
        if (const auto row = app::rowChoice(id, sel(app::rangeCombo))) {
            ctl::select(controls, row->combo, row->item);
            command(row->combo, CBN_SELCHANGE);
            refreshChoices();
            return;
        }
        if (const auto dwell = app::dwellOfButton(id)) {
            scanDwellMs = *dwell;
            resetScanDwell();
            refreshChoices();
            save();
            return;
        }
    }
    if (id >= app::firstPresetButton && id <= app::lastPresetButton)
        return choosePreset(*this, id - app::firstPresetButton);

    switch (id) {
        case app::startButton: return start();
        case app::stopButton:
            stopRadioScan();
            if (running) start();
            return;
        case app::pauseButton: return togglePause(*this);
        case app::muteButton: return toggleMute(*this);
        case app::scanStopButton: return stopRadioScan();
        case app::scanStartButton:
            if (!radioScanning) beginRadioScan();
            return;
        case app::scanNextButton:
            if (radioScanning) advanceScan();
            return;
        case app::searchButton: return scan();
        case app::applyButton: return apply(*this);
        case app::stepDownButton: return stepFrequency(*this, -1);
        case app::stepUpButton: return stepFrequency(*this, +1);
        case app::addFavoriteButton: return addFavorite(*this);
        case app::clearTextButton:
            decodedText.clear();
            ctl::setText(controls, app::decodedTextField, L"");
            return;
        case app::saveTextButton: return commands::saveDecodedText(*this);
        case app::recordButton: return commands::toggleRecording(*this);
        default: break;
    }

    if (chosen) {
        switch (id) {
            case app::modeCombo: return chooseMode(*this);
            case app::stepCombo:
            case app::gainCombo:
            case app::thresholdCombo: return apply(*this);
            case app::dongleList: return chooseDongle(*this);
            case app::audioOutputList: return chooseAudioOutput(*this);
            case app::rangeMirrorCombo: {
                const int mirror = sel(app::rangeMirrorCombo);
                if (mirror < 0) return;
                ctl::select(controls, app::rangeCombo, app::rangeOfMirrorItem(mirror));
                return chooseScanRange(*this);
            }
            case app::spanCombo: return chooseSpan(*this);
            case app::rangeCombo: return chooseScanRange(*this);
            default: return;
        }
    }
    if (clicked && (id == app::autoSpeedBox || id == app::decodeBox || id == app::autoGainBox))
        return apply(*this);
    if (code == LBN_DBLCLK && id == app::favoritesList) recallFavorite(*this);
}
