#pragma once
// Keeps a handler from running inside itself: a modal message box shown from
// it pumps messages, and the timer would otherwise enter it again and again.

namespace app {

class ReentryGuard {
public:
    explicit ReentryGuard(bool& busy) : busy_(busy), entered_(!busy) { busy_ = true; }
    ~ReentryGuard() {
        if (entered_) busy_ = false;
    }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;

    // False inside a call that is already running: return at once.
    bool entered() const { return entered_; }

private:
    bool& busy_;
    bool entered_;
};

}  // namespace app
