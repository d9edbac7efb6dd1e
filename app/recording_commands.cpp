#include "app/recording_commands.h"

#include "app/app.h"
#include "app/rules/command_rules.h"
#include "app/rules/reception_rules.h"
#include "app/windows/control_access.h"
#include "platform/check.h"
#include "platform/text.h"

#include <fstream>
#include <mutex>
#include <string>

namespace commands {

namespace {

// A reception that has ended, or is ending, has finalised its recording in
// its teardown and appends nothing more: a file opened now would stay empty.
bool receiving(const App& app) { return app.running && !app.stopRequested; }

}  // namespace

void saveDecodedText(App& app) {
    const std::filesystem::path path = app.saveDialog(L"Texte UTF-8\0*.txt\0", L"txt");
    if (path.empty()) return;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::string bytes = narrow(app.decodedText);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();  // a write the buffer held back fails here, not before
    if (file.fail()) MessageBoxW(app.mainWindow, app::textSaveFailed, app::textSaveCaption, MB_OK);
}

void toggleRecording(App& app) {
    {
        std::unique_lock lock(app.wavMutex);
        if (app.recorder.isOpen()) {
            const bool finalised = app.recorder.close();
            lock.unlock();
            // The recording is over either way; the box says when its file is broken.
            ctl::setText(app.controls, app::recordButton, app::recordAudioCaption);
            check(finalised, Wav::writeFailed);
            return;
        }
    }
    if (!receiving(app)) {
        app.setStatus(app::recordNeedsReceptionStatus);
        return;
    }
    const std::filesystem::path path = app.saveDialog(L"Audio WAV\0*.wav\0", L"wav");
    if (path.empty()) return;
    // The dialog is modal but the message loop runs: reception may have ended
    // while it was open.
    if (!receiving(app)) {
        app.setStatus(app::recordNeedsReceptionStatus);
        return;
    }
    {
        const std::lock_guard lock(app.wavMutex);
        app.recorder.open(path);
    }
    ctl::setText(app.controls, app::recordButton, app::recordingCaption);
}

}  // namespace commands
