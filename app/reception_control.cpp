// Starting and stopping a reception from the user-interface thread, and the
// way back to the stopped state once the receiver thread has ended.

#include "app/app.h"
#include "app/rules/control_ids.h"

#include "app/rules/reception_rules.h"
#include "hf/dongle_identity.h"
#include "platform/text.h"

#include <exception>
#include <mutex>

void App::start() {
    if (running) {
        stopRequested = true;
        cancel();
        setStatus(app::stoppingStatus);
        EnableWindow(controls.at(app::stopButton), FALSE);
        return;
    }
    if (searching) {
        setStatus(app::searchRunningStatus);
        return;
    }
    if (!readConfig(true, true)) return;
    if (receiverThread.joinable()) receiverThread.join();

    const app::DongleChoice choice = app::startDongle(sel(app::dongleList), devices, selectedDevice);
    if (!choice.dongle) {
        setStatus(choice.refusal);
        return;
    }
    const hf::Device key = *choice.dongle;
    try {
        // The receiver thread repeats both checks; here they refuse before
        // anything changes.
        hf::chooseDevice(devices, key);
        app::samplingMode(uiSettings, key);
        running = true;
        paused = false;
        stopRequested = false;
        watchdogFired = false;
    } catch (const std::exception& e) {
        setStatus(wide(e.what()));
        return;
    }
    lastFrameMs = GetTickCount64();
    lastError.clear();
    lockControls(true);
    setStatus(app::openingStatus);
    requestedOutput = app::requestedOutput(sel(app::audioOutputList));
    try {
        receiverThread = std::thread(&App::receive, StartRecord{this, key, requestedOutput.load()});
    } catch (const std::exception&) {
        // No thread will post its end: stop here as a reception that ended
        // at once would (done finalises a recording still open).
        lastError = app::receiverNotStartedStatus;
        done();
        return;
    }
    save();
}

void App::cancel() {
    const std::lock_guard lock(deviceMutex);
    if (device != nullptr) rtl->cancel_async(device);
}

void App::done() {
    stopRadioScan();
    if (receiverThread.joinable()) receiverThread.join();
    {
        // The thread's teardown finalised its recording, but one opened from a
        // save dialog that returned just after that teardown is still open.
        const std::lock_guard lock(wavMutex);
        if (!recorder.close()) lastError = wide(Wav::writeFailed);
    }
    running = false;
    paused = false;
    signalPresent = false;
    InvalidateRect(controls.at(app::frequencyField), nullptr, TRUE);
    lockControls(false);
    EnableWindow(controls.at(app::startButton), TRUE);
    SetWindowTextW(controls.at(app::recordButton), app::recordAudioCaption);
    setStatus(app::stoppedStatus(lastError));
    if (closePending) DestroyWindow(mainWindow);
}

void App::lockControls(bool locked) {
    EnableWindow(controls.at(app::searchButton), !locked);
    EnableWindow(controls.at(app::startButton), !locked);
    EnableWindow(controls.at(app::stopButton), locked);
    EnableWindow(controls.at(app::pauseButton), locked);
    SetWindowTextW(controls.at(app::pauseButton), app::pauseCaption(paused));
    SetWindowTextW(controls.at(app::startButton), app::startCaption(locked));
    InvalidateRect(controls.at(app::startButton), nullptr, TRUE);
    InvalidateRect(controls.at(app::stopButton), nullptr, TRUE);
}

void App::setStatus(const std::wstring& text) {
    // The display tick sets the status with every frame; most are unchanged.
    if (text == statusText) return;
    statusText = text;
    SetWindowTextW(controls.at(app::statusField), statusText.c_str());
}
