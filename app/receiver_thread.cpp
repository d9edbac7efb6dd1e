// One reception, on its own thread: opens the chosen dongle and no other,
// streams it through the receive chain, follows the form's publications and
// releases everything in a fixed order before telling the window.

#include "app/app.h"

#include "app/dongle_settings.h"
#include "app/receiver_sinks.h"
#include "app/rules/receiver_messages.h"
#include "app/rules/reception_rules.h"
#include "hf/dongle_identity.h"
#include "hf/receiver_dsp.h"
#include "platform/audio.h"
#include "platform/check.h"
#include "platform/text.h"

#include <array>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr uint32_t sampleRate = 960000;
constexpr uint32_t buffersInFlight = 8;
constexpr uint32_t bufferBytes = 32768;
// About 137 ms of signal after every start of the stream, before the tuner settles.
constexpr int32_t buffersDroppedAtStart = 8;
constexpr std::size_t usbStringBytes = 256;

struct ReadContext {
    App* app = nullptr;
    hf::ReceiverDSP* dsp = nullptr;
    hf::Settings* applied = nullptr;
    int32_t* appliedGeneration = nullptr;
    std::string error;
    int32_t skip = 0;
    bool retune = false;
    // The opened dongle, to read each publication as it can receive it.
    const hf::Device* dongle = nullptr;
};

struct Published {
    hf::Settings settings;
    int32_t generation = 0;
};

// The form's latest publication, as it stands.
Published latestPublication(App& app) {
    const std::lock_guard lock(app.settingsMutex);
    return {app.sharedSettings, app.settingsGeneration};
}

// The form's latest settings, centred where this dongle can receive them.
Published latestSettings(App& app, const hf::Device& dongle) {
    Published latest = latestPublication(app);
    latest.settings = app::onReceivablePath(latest.settings, dongle);
    return latest;
}

// Ends the read from inside its callback, keeping the reason for the thread.
void failRead(ReadContext& context, const char* reason) noexcept {
    try {
        context.error = reason;
    } catch (...) {
        // Out of memory for the text: the stop still ends the reception.
    }
    context.app->stopRequested.exchange(true);
    try {
        context.app->cancel();
    } catch (...) {
    }
}

// Runs inside rtlsdr_read_async on the receiver thread. An exception must
// never reach the library.
void readBuffer(unsigned char* buffer, uint32_t length, void* opaque) {
    ReadContext& context = *static_cast<ReadContext*>(opaque);
    try {
        App& app = *context.app;
        if (app.stopRequested || context.retune) {
            app.cancel();
            return;
        }
        // Every buffer looks for a new publication; only a new one is worth
        // placing on the dongle's reception path.
        Published latest = latestPublication(app);
        if (latest.generation != *context.appliedGeneration)
            latest.settings = app::onReceivablePath(latest.settings, *context.dongle);
        switch (app::publication(latest.generation, latest.settings, *context.appliedGeneration,
                                 *context.applied)) {
        case app::Publication::retune:
            // The thread applies the newest settings once the read has returned.
            context.retune = true;
            app.cancel();
            return;
        case app::Publication::inPlace:
            context.dsp->configure(latest.settings);
            *context.applied = latest.settings;
            *context.appliedGeneration = latest.generation;
            break;
        case app::Publication::unchanged:
            break;
        }
        if (context.skip > 0) {
            --context.skip;
            return;
        }
        context.dsp->bytes(buffer, length);
    } catch (const std::exception& e) {
        failRead(context, e.what());
    } catch (...) {
        failRead(context, "Erreur inattendue du traitement radio.");
    }
}

std::string usbString(const std::array<char, usbStringBytes>& text) {
    return std::string(text.data(), strnlen(text.data(), text.size()));
}

void checkOpenedIdentity(const Rtl& rtl, rtlsdr_dev_t* handle, const hf::Device& chosen) {
    std::array<char, usbStringBytes> manufacturer{}, product{}, serial{};
    const bool read = rtl.get_usb_strings(handle, manufacturer.data(), product.data(), serial.data()) == 0;
    check(read && usbString(manufacturer) == chosen.manufacturer && usbString(product) == chosen.product &&
              usbString(serial) == chosen.serial,
          app::identityChanged);
}

// The teardown's order: audio stops before the WAV file is finalised, the file
// before the dongle is closed, the dongle before the window hears of it, and
// of why the reception ended (`error`, empty for a stop) or of a recording
// left broken.
void release(App& app, Audio& audio, const std::string& error) {
    // Read before the teardown: the watchdog may still fire while it runs,
    // and must not take the place of a reason the thread already has.
    const bool watchdogFired = app.watchdogFired;
    audio.close();
    bool finalised = true;
    {
        const std::lock_guard lock(app.wavMutex);
        finalised = app.recorder.close();
    }
    app.lastError = wide(app::endReason(watchdogFired, error, finalised ? "" : Wav::writeFailed));
    {
        const std::lock_guard lock(app.deviceMutex);
        if (app.device != nullptr) {
            app.rtl->close(app.device);
            app.device = nullptr;
        }
    }
    PostMessageW(app.mainWindow, receiverEndedMessage, 0, 0);
}

}  // namespace

void App::receive(StartRecord record) {
    App& app = *record.app;
    const Rtl& rtl = *app.rtl;
    Audio audio;
    std::unique_ptr<hf::ReceiverDSP> dsp;
    rtlsdr_dev_t* handle = nullptr;
    hf::Settings applied;
    int32_t appliedGeneration = 0;
    const DongleSettings applySettings(&record.dongle, &app, &handle);
    ReadContext context{&app, nullptr, &applied, &appliedGeneration, {}, 0, false, &record.dongle};
    std::string error;
    try {
        const std::vector<hf::Device> present = rtl.devices();
        endIfStopRequested(app);
        const hf::Device chosen = hf::chooseDevice(present, record.dongle);
        const hf::Device& wanted = record.dongle;
        if (rtl.open_identity(&handle, chosen.index, wanted.manufacturer.c_str(), wanted.product.c_str(),
                              wanted.serial.c_str()) != 0)
            handle = nullptr;
        check(handle != nullptr, app::openRefused);
        {
            const std::lock_guard lock(app.deviceMutex);
            app.device = handle;
        }
        endIfStopRequested(app);
        checkOpenedIdentity(rtl, handle, wanted);
        endIfStopRequested(app);
        check(rtl.set_bias_tee(handle, 0) == 0, app::biasTeeRefused);
        endIfStopRequested(app);
        check(rtl.set_agc_mode(handle, 0) == 0, app::digitalGainRefused);
        endIfStopRequested(app);
        check(rtl.set_sample_rate(handle, sampleRate) == 0, app::sampleRateRefused);

        const Published first = latestSettings(app, wanted);
        applied = first.settings;
        appliedGeneration = first.generation;
        applySettings(applied, nullptr);

        endIfStopRequested(app);
        audio.start(record.audioOutput, app.volume, app.muted, app.paused, app.squelchOpen,
                    app.requestedOutput, app.mainWindow);
        dsp = std::make_unique<hf::ReceiverDSP>();
        dsp->configure(applied);
        dsp->onAudio = AudioBlockSink(&app, &audio);
        dsp->onFrame = FrameSink(&app, &appliedGeneration, &audio);
        context.dsp = dsp.get();

        endIfStopRequested(app);
        check(rtl.reset_buffer(handle) == 0, app::streamStartFailed);
        context.skip = buffersDroppedAtStart;
        for (;;) {
            endIfStopRequested(app);
            context.retune = false;
            const int result = rtl.read_async(handle, &readBuffer, &context, buffersInFlight, bufferBytes);
            const app::ReadEnd end{context.error, app.watchdogFired, app.stopRequested, result,
                                   context.retune};
            if (app::afterRead(end) == app::AfterRead::leave) break;

            // A later publication may have arrived meanwhile: the newest wins.
            const Published latest = latestSettings(app, wanted);
            applySettings(latest.settings, &applied);
            dsp->configure(latest.settings);
            appliedGeneration = latest.generation;
            applied = latest.settings;
            endIfStopRequested(app);
            check(rtl.reset_buffer(handle) == 0, app::streamResumeFailed);
            context.skip = buffersDroppedAtStart;
        }
    } catch (const StoppedBetweenCalls&) {
        // A stop asked for between two dongle calls: nothing went wrong.
    } catch (const std::exception& e) {
        error = e.what();
    }
    release(app, audio, error);
    dsp.reset();
}
