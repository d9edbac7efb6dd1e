#pragma once
// Sends the form's settings to the open dongle: all of them when reception
// starts, only what changed on a retune.

#include "app/app.h"
#include "hf/records.h"

// Thrown when a stop is asked for between two dongle calls of the opening, the
// set-up or a retune: the reception ends where it stands, with no error of
// its own.
struct StoppedBetweenCalls {};

// Called before each dongle call outside the stream: none is made once a stop
// is requested.
void endIfStopRequested(const App& app);

class DongleSettings {
public:
    // `handle` is read at each call: the receiver thread opens the dongle
    // after making the applier.
    DongleSettings(const hf::Device* dongle, App* app, rtlsdr_dev_t* const* handle)
        : dongle_(dongle), app_(app), handle_(handle) {}

    // A null `previous` sets everything up. Throws the message of the setting
    // that the dongle refuses.
    void operator()(const hf::Settings& next, const hf::Settings* previous) const;

private:
    void chooseGain(int32_t wanted) const;

    const hf::Device* dongle_;
    App* app_;
    rtlsdr_dev_t* const* handle_;
};
