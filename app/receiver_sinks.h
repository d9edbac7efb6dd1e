#pragma once
// Where the receive chain's output goes, on the receiver thread: audio blocks
// to the audio output and the WAV recording, frames to the one-slot mailbox
// that the display tick empties.

#include <cstdint>
#include <vector>

#include "app/app.h"
#include "hf/records.h"
#include "platform/audio.h"

class AudioBlockSink {
public:
    AudioBlockSink(App* app, Audio* audio) : app_(app), audio_(audio) {}
    // Throws when the audio output is lost or the recording cannot go on.
    void operator()(const std::vector<float>& block);

private:
    App* app_;
    Audio* audio_;
    std::vector<float> silence_;  // played while the listen frequency is out of span
};

class FrameSink {
public:
    FrameSink(App* app, const int32_t* appliedGeneration, Audio* audio)
        : app_(app), appliedGeneration_(appliedGeneration), audio_(audio) {}
    void operator()(hf::Frame frame) const;

private:
    App* app_;
    const int32_t* appliedGeneration_;
    Audio* audio_;
};
