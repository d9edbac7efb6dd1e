#include "app/receiver_sinks.h"

#include "app/rules/reception_rules.h"

#include <mutex>
#include <utility>

void AudioBlockSink::operator()(const std::vector<float>& block) {
    if (app_->outOfSpan) {
        // Nothing outside the received span may be heard or recorded.
        silence_.assign(block.size(), 0.0f);
        audio_->push(silence_);
        return;
    }
    audio_->push(block);
    // A paused reception plays silence through the gain ramp but records nothing.
    if (app_->paused) return;
    const std::lock_guard lock(app_->wavMutex);
    if (app_->recorder.isOpen()) app_->recorder.append(block);
}

void FrameSink::operator()(hf::Frame frame) const {
    const std::lock_guard lock(app_->frameMutex);
    frame.generation = *appliedGeneration_;
    frame.cwText = app::mailboxText(app_->latestFrame.cwText, frame.cwText);
    app_->latestFrame = std::move(frame);
    app_->lostBlocks = audio_->lostBlocks.load();
    app_->underruns = audio_->underruns.load();
    ++app_->framesPublished;
}
