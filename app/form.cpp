#include "app/app.h"
#include "app/rules/control_ids.h"

#include "app/rules/form_display.h"
#include "app/rules/form_publication.h"
#include "app/rules/form_reading.h"
#include "app/rules/plot_mouse_rules.h"
#include "app/rules/slider_strip.h"
#include "app/rules/waterfall_shift.h"
#include "app/windows/colour_ref.h"
#include "hf/frequency_text.h"
#include "platform/text.h"

#include <exception>
#include <string>

namespace {

constexpr int choiceGroups[] = {300, 320, 340, 360, 380, 400};
constexpr int choicesPerGroup = 7;

bool checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

app::FormControls formControls(App& app) {
    const auto& c = app.controls;
    app::FormControls form;
    form.frequency = text(c.at(app::frequencyField));
    form.modeSelection = app.sel(app::modeCombo);
    form.bandwidth = text(c.at(app::bandwidthField));
    form.ppm = text(c.at(app::ppmField));
    form.tone = text(c.at(app::toneField));
    form.wpm = text(c.at(app::wpmField));
    form.stepSelection = app.sel(app::stepCombo);
    form.gainSelection = app.sel(app::gainCombo);
    form.autoSpeed = checked(c.at(app::autoSpeedBox));
    form.rfAuto = checked(c.at(app::autoGainBox));
    form.decode = checked(c.at(app::decodeBox));
    form.thresholdSelection = app.sel(app::thresholdCombo);
    return form;
}

void setNumber(HWND edit, int32_t value) { SetWindowTextW(edit, std::to_wstring(value).c_str()); }

}  // namespace

bool App::readConfig(bool stopScan, bool save) {
    if (stopScan) stopRadioScan();
    try {
        const hf::Settings read = app::readForm(formControls(*this), running, selectedDevice);
        // This thread alone writes sharedSettings: it reads it without the
        // lock, which the receiver takes on every buffer and must find free.
        const app::CentreView view{radioScanning, dragMode == app::dragView, spectrumSpan};
        const app::FormPublication p = app::formPublication(
            read, uiSettings.center, sharedSettings.center, view, selectedDevice, waterfallColumns);
        if (p.waterfallShift != 0 && !waterfall.empty())
            waterfall = app::shiftedWaterfall(waterfall, waterfallColumns, p.waterfallShift);
        outOfSpan = p.outOfSpan;
        // A width typed or dragged reaches the rows only here; a drag has
        // already put its width into uiSettings, so compare with what was
        // last published.
        const bool rowsChange = app::choiceRowsChange(sharedSettings, p.settings);
        uiSettings = p.settings;
        {
            const std::lock_guard lock(settingsMutex);
            sharedSettings = uiSettings;
            ++settingsGeneration;
        }
        signalPresent = false;
        HWND frequency = controls.at(app::frequencyField);
        InvalidateRect(frequency, nullptr, TRUE);
        SetWindowTextW(frequency, hf::frequencyDisplay(uiSettings.Frequency).c_str());
        if (rowsChange) refreshChoices();
        if (save) this->save();
        return true;
    } catch (const std::exception& e) {
        MessageBoxW(mainWindow, wide(e.what()).c_str(), L"Réglage à corriger",
                    MB_OK | MB_ICONINFORMATION);
        return false;
    }
}

void App::settingsUI() {
    const auto captions = app::presetCaptions(uiSettings.Mode);
    for (int i = 0; i < 3; ++i)
        if (const auto preset = controls.find(app::firstPresetButton + i); preset != controls.end())
            SetWindowTextW(preset->second, captions[i]);
    if (const auto gain = controls.find(app::gainCombo); gain != controls.end()) {
        const BOOL enable = app::gainControlsEnabled(selectedDevice, uiSettings.Frequency);
        EnableWindow(gain->second, enable);
        if (const auto rfAuto = controls.find(app::autoGainBox); rfAuto != controls.end())
            EnableWindow(rfAuto->second, enable);
    }
    SetWindowTextW(controls.at(app::frequencyField), hf::frequencyDisplay(uiSettings.Frequency).c_str());
    SendMessageW(controls.at(app::modeCombo), CB_SETCURSEL, static_cast<WPARAM>(uiSettings.Mode), 0);
    setNumber(controls.at(app::bandwidthField), uiSettings.Bandwidth);
    setNumber(controls.at(app::ppmField), uiSettings.PPM);
    SendMessageW(controls.at(app::decodeBox), BM_SETCHECK, uiSettings.Decode ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(controls.at(app::stepCombo), CB_SETCURSEL,
                 static_cast<WPARAM>(app::stepSelection(uiSettings.Step)), 0);
    refreshChoices();
}

int App::sel(int id) {
    const auto combo = controls.find(id);
    if (combo == controls.end()) return -1;
    return static_cast<int>(SendMessageW(combo->second, CB_GETCURSEL, 0, 0));
}

void App::refreshChoices() {
    for (const int first : choiceGroups)
        for (int id = first; id < first + choicesPerGroup; ++id)
            if (const auto button = controls.find(id); button != controls.end())
                InvalidateRect(button->second, nullptr, TRUE);
}

void App::sliderValueChanged(int id) {
    if (!uiLayout) return;  // nothing is painted before the first layout
    const RECT rect = rectOf(app::sliderValueStrip(uiLayout->boxes.at(id), uiScale));
    InvalidateRect(mainWindow, &rect, TRUE);
}
