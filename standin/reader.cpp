#include "standin/reader.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Sleeps in short slices, so that a cancel is seen soon; false when cancelled.
bool waitUntil(Clock::time_point deadline, const OpenDongle& dongle) {
    constexpr auto slice = std::chrono::milliseconds(2);
    while (!dongle.cancelRequested.load()) {
        const auto now = Clock::now();
        if (now >= deadline) return true;
        std::this_thread::sleep_for(std::min<Clock::duration>(deadline - now, slice));
    }
    return false;
}

// Marks the dongle as reading for the life of one read.
class ReadingScope {
public:
    explicit ReadingScope(OpenDongle& dongle) : dongle(dongle) {
        bool idle = false;
        entered = dongle.reading.compare_exchange_strong(idle, true);
        if (!entered) return;
        dongle.readerThread = GetCurrentThreadId();
        dongle.cancelRequested = false;  // a cancel before the read has no effect on it
    }
    ~ReadingScope() {
        if (entered) dongle.reading = false;
    }
    ReadingScope(const ReadingScope&) = delete;
    ReadingScope& operator=(const ReadingScope&) = delete;

    bool entered = false;

private:
    OpenDongle& dongle;
};

}  // namespace

int stream(OpenDongle& dongle, ReadCallback callback, void* context, uint32_t bufferCount, uint32_t bufferLength,
           CallLog& log) {
    const std::string call = "rtlsdr_read_async(" + dongle.label() + ")";
    const ReadingScope reading(dongle);
    if (!reading.entered) {
        log.violation(call + " while another read runs");
        return -1;
    }
    log.line(call + " streams at " + std::to_string(dongle.sampleRate) + " Hz around " +
             std::to_string(dongle.centreHz) + " Hz");
    if (!dongle.resetSinceChange) log.violation(call + " without rtlsdr_reset_buffer since the last setting");

    std::vector<std::vector<unsigned char>> buffers(bufferCount, std::vector<unsigned char>(bufferLength));
    dongle.scene.tune(dongle.sampleRate, dongle.centreHz);
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(double(bufferLength / 2) / double(dongle.sampleRate)));
    const auto start = Clock::now();

    for (uint32_t delivered = 0;; ++delivered) {
        if (dongle.spec.readEndsAfter && delivered == *dongle.spec.readEndsAfter) return dongle.spec.readResult;
        if (dongle.spec.stallAfter && delivered == *dongle.spec.stallAfter) {
            log.line(call + " stalls after " + std::to_string(delivered) + " buffers");
            waitUntil(Clock::time_point::max(), dongle);
            return 0;
        }
        auto& buffer = buffers[delivered % bufferCount];
        dongle.scene.render(buffer.data(), bufferLength / 2);
        if (!waitUntil(start + period * (delivered + 1), dongle)) return 0;
        callback(buffer.data(), bufferLength, context);
        if (dongle.cancelRequested.load()) return 0;
    }
}
