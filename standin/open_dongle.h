#pragma once
// One open handle: the settings the application gave the dongle, and what the
// checks of the application's contract need to know about it.

#include <atomic>
#include <cstdint>
#include <string>

#include <windows.h>

#include "standin/config.h"
#include "standin/scene.h"
#include "standin/win_handle.h"

struct OpenDongle {
    OpenDongle(uint32_t number, uint32_t index, const DongleSpec& spec, WinHandle busyMark,
               const std::vector<SignalSpec>& signals)
        : number(number), index(index), spec(spec), scene(signals), busyMark(std::move(busyMark)) {}

    const uint32_t number;  // names the handle in the log
    const uint32_t index;
    const DongleSpec& spec;

    // What a dongle holds after being opened, until told otherwise.
    uint32_t sampleRate = 2048000;
    uint32_t centreHz = 100000000;
    int correction = 0;
    bool manualGain = false;
    int gain = 0;
    bool agc = false;
    int directSampling = 0;
    bool biasTee = false;

    // A read needs a reset of the buffer since opening and since the last setting.
    bool resetSinceChange = false;
    std::atomic<bool> reading{false};
    std::atomic<bool> cancelRequested{false};
    std::atomic<DWORD> readerThread{0};
    Scene scene;

    // The handle's name in the log: "#1" for the first one opened.
    std::string label() const {
        std::string text = "#";
        text += std::to_string(number);
        return text;
    }

private:
    WinHandle busyMark;  // a named mutex: the dongle is in use, for every process
};
