#include "platform/audio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>

#include "sink_recorder.h"
#include "tone_signal.h"

namespace {

constexpr float toneAmplitude = 0.5f;
// The tone at gain 1, in 16-bit steps.
constexpr double fullLevel = toneAmplitude * 32767.0;
constexpr std::size_t blockSize = hf::audioBlockSize;
constexpr double soundThreshold = 0.05 * fullLevel;
// A 480-sample fade passes from 95 % to 5 % of full level in 432 samples; the
// envelope's ripple while the gain moves shifts that by a few.
constexpr double fadeSamples = 432, fadeTolerance = 24;
// A ramp moves the envelope by some 1/480 of full level per sample (twice that
// with the ripple); a click steps it by far more.
constexpr double clickStep = 0.02 * fullLevel;

unsigned unopenableDevice() { return waveOutGetNumDevs() + 4; }

struct OutputReport {
    WPARAM device;
    LPARAM failed;
    bool operator==(const OutputReport&) const = default;
};

// Stands in for the main window, receiver of the audio thread's reports.
class MessageWindow {
public:
    MessageWindow()
        : handle(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    ~MessageWindow() { DestroyWindow(handle); }

    std::vector<OutputReport> reports() {
        std::vector<OutputReport> received;
        MSG message;
        while (PeekMessageW(&message, handle, audioOutputMessage, audioOutputMessage, PM_REMOVE))
            received.push_back({message.wParam, message.lParam});
        return received;
    }

    const HWND handle;
};

bool waitFor(const std::function<bool()>& condition) {
    for (int waited = 0; !condition(); waited += 5) {
        if (waited > 5000) return false;
        Sleep(5);
    }
    return true;
}

// What a sink played, less the stalls of the sound server.
std::vector<int16_t> played(const SinkRecorder& sink) {
    auto recording = sink.recorded();
    removeServerStalls(recording);
    return recording;
}

void expectRampFromSilence(const std::vector<double>& envelope, Span sound) {
    EXPECT_NEAR(static_cast<double>(riseLength(envelope, sound.begin, fullLevel)), fadeSamples, fadeTolerance)
        << "rise at " << sound.begin;
    const Span onset{sound.begin - std::min<std::size_t>(sound.begin, 100), sound.begin + 1500};
    EXPECT_LT(steepestStep(envelope, onset), clickStep) << "click at " << sound.begin;
}

void expectFadeToSilence(const std::vector<double>& envelope, Span sound) {
    EXPECT_NEAR(static_cast<double>(fallLength(envelope, sound.end - 3000, fullLevel)), fadeSamples, fadeTolerance)
        << "fall before " << sound.end;
    EXPECT_LT(steepestStep(envelope, {sound.end - 1500, sound.end + 100}), clickStep) << "click at " << sound.end;
}

// Plays a 1 kHz tone through `Audio` on the sinks of the test sound server,
// with the flags and the requested output that the application would own.
class AudioPlayback : public ::testing::Test {
public:
    void SetUp() override {
        const auto a = outputNamed(L"HF_A"), b = outputNamed(L"HF_B");
        ASSERT_TRUE(a && b) << "no sinks HF_A and HF_B: run under scripts/test-env.sh";
        sinkA = *a;
        sinkB = *b;
    }

    void play(unsigned device) {
        requested = device;
        audio.start(device, volume, muted, paused, squelchOpen, requested, window.handle);
    }

    // Pushes `count` tone blocks as the receive chain would, but never more
    // than 8 ahead of playback; `before` runs ahead of each with its number.
    void feed(int count, const std::function<void(int)>& before = {}) {
        for (int block = 0; block < count; ++block) {
            if (before) before(block);
            while (queuedBlocks() >= 8) Sleep(5);
            audio.push(tone.next());
        }
    }

    // Ends a stretch of sound with silent blocks and waits for the underrun
    // that follows. Wine hands a buffer back as soon as the server holds it,
    // up to the 200 ms of latency the test asks of the server, and what the
    // server still holds when the device pauses comes out first on resume:
    // the silent blocks make that silence.
    void finish(uint32_t underrunsThen) {
        for (int block = 0; block < 6; ++block) audio.push(silentBlock());
        ASSERT_TRUE(waitFor([&] { return audio.underruns == underrunsThen; })) << audio.underruns;
    }

    // Lets `sink` record 0.5 s more, past all it was handed until now.
    static void listenOn(const SinkRecorder& sink) {
        const std::size_t now = sink.recordedSamples();
        ASSERT_TRUE(waitFor([&] { return sink.recordedSamples() >= now + 24000; }));
    }

    std::size_t queuedBlocks() {
        const std::lock_guard lock(audio.mutex);
        return audio.queue.blocks.size();
    }

    unsigned sinkA = 0, sinkB = 0;
    std::atomic<float> volume{1.0f};
    std::atomic<bool> muted{false}, paused{false}, squelchOpen{true};
    std::atomic<unsigned> requested{WAVE_MAPPER};
    MessageWindow window;
    ToneBlocks tone{toneAmplitude};
    Audio audio;
};

TEST_F(AudioPlayback, DefaultOutputPlaysTheToneAtItsFrequencyAndVolume) {
    SinkRecorder sink(L"HF_A", 10);  // the server's default sink
    play(WAVE_MAPPER);
    // At most 14 blocks wait in the queue and the device, so blocks 1 to 9
    // play at full volume whenever the change lands, and 25 on at half.
    feed(48, [&](int block) {
        if (block == 24) volume = 0.5f;
    });
    finish(1);
    listenOn(sink);

    const auto recording = played(sink);
    const auto level = envelope(recording);
    const auto spans = soundSpans(level, soundThreshold);
    ASSERT_EQ(spans.size(), 1u) << ::testing::PrintToString(spans);
    const Span sound = spans[0];
    ASSERT_NEAR(static_cast<double>(sound.size()), 48.0 * blockSize, 64.0);
    const Span full{sound.begin + blockSize, sound.begin + 9 * blockSize};
    const Span half{sound.begin + 26 * blockSize, sound.end - blockSize};
    EXPECT_NEAR(frequencyHz(recording, full), toneHz, 1.0);
    EXPECT_NEAR(frequencyHz(recording, half), toneHz, 1.0);
    EXPECT_NEAR(medianLevel(level, full), fullLevel, 0.01 * fullLevel);
    EXPECT_NEAR(20.0 * std::log10(medianLevel(level, half) / medianLevel(level, full)), -6.02, 0.1);
    expectRampFromSilence(level, sound);
    EXPECT_LT(steepestStep(level, {sound.begin + 1000, sound.end - 1000}), clickStep);
    EXPECT_TRUE(window.reports().empty()) << "the device in use was requested: nothing to switch";
}

TEST_F(AudioPlayback, FourBlocksStaySilentAndTheFifthStartsPlay) {
    SinkRecorder sink(L"HF_A", 6);
    play(sinkA);
    feed(4);
    Sleep(600);
    const std::size_t beforeFifth = sink.recordedSamples();
    EXPECT_TRUE(soundSpans(envelope(played(sink)), soundThreshold).empty()) << "sound before the fifth block";
    feed(1);
    finish(1);
    listenOn(sink);

    const auto level = envelope(played(sink));
    const auto spans = soundSpans(level, soundThreshold);
    ASSERT_EQ(spans.size(), 1u) << ::testing::PrintToString(spans);
    EXPECT_GE(spans[0].begin, beforeFifth);
    EXPECT_NEAR(static_cast<double>(spans[0].size()), 5.0 * blockSize, 64.0) << "all five blocks, whole";
    expectRampFromSilence(level, spans[0]);
}

TEST_F(AudioPlayback, GapCountsOneUnderrunAndSoundResumesFromSilence) {
    SinkRecorder sink(L"HF_A", 10);
    play(sinkA);
    feed(20);
    finish(1);
    Sleep(500);  // fifty turns of the playback loop without a block
    EXPECT_EQ(audio.underruns, 1u);
    feed(20);
    finish(2);
    listenOn(sink);

    const auto level = envelope(played(sink));
    const auto spans = soundSpans(level, soundThreshold);
    ASSERT_EQ(spans.size(), 2u) << ::testing::PrintToString(spans);
    for (const Span& sound : spans) {
        EXPECT_NEAR(static_cast<double>(sound.size()), 20.0 * blockSize, 64.0);
        expectRampFromSilence(level, sound);
    }
}

struct Silencer {
    const char* name;
    std::atomic<bool> AudioPlayback::*flag;
    bool silent;  // the flag's value that silences
};

class AudioFade : public AudioPlayback, public ::testing::WithParamInterface<Silencer> {};

TEST_P(AudioFade, FadesOutAndBackWhileSamplesKeepFlowing) {
    SinkRecorder sink(L"HF_A", 10);
    play(sinkA);
    std::atomic<bool>& flag = this->*GetParam().flag;
    const bool silent = GetParam().silent;
    feed(56, [&](int block) {
        if (block == 20) flag = silent;
        if (block == 38) flag = !silent;
    });
    EXPECT_EQ(audio.underruns, 0u) << "playback ran dry while silent";
    finish(1);
    listenOn(sink);

    const auto level = envelope(played(sink));
    const auto spans = soundSpans(level, soundThreshold);
    ASSERT_EQ(spans.size(), 2u) << ::testing::PrintToString(spans);
    EXPECT_GT(spans[1].begin - spans[0].end, blockSize) << "no silence between the fades";
    expectFadeToSilence(level, spans[0]);
    expectRampFromSilence(level, spans[1]);
}

INSTANTIATE_TEST_SUITE_P(Flags, AudioFade,
                         ::testing::Values(Silencer{"Mute", &AudioPlayback::muted, true},
                                           Silencer{"Pause", &AudioPlayback::paused, true},
                                           Silencer{"Squelch", &AudioPlayback::squelchOpen, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AudioPlayback, SwitchMovesTheSoundToTheOtherSinkAndReportsIt) {
    SinkRecorder first(L"HF_A", 10), second(L"HF_B", 10);
    play(sinkA);
    feed(50, [&](int block) {
        if (block == 20) requested = sinkB;
    });
    EXPECT_EQ(audio.underruns, 0u) << "a switch is no underrun";
    finish(1);
    listenOn(first);
    listenOn(second);

    const auto levelA = envelope(played(first)), levelB = envelope(played(second));
    const auto spansA = soundSpans(levelA, soundThreshold), spansB = soundSpans(levelB, soundThreshold);
    ASSERT_EQ(spansA.size(), 1u) << ::testing::PrintToString(spansA);
    ASSERT_EQ(spansB.size(), 1u) << ::testing::PrintToString(spansB);
    EXPECT_GT(spansA[0].size(), 4 * blockSize);
    EXPECT_GT(levelA.size() - spansA[0].end, 20 * blockSize) << "the first sink went quiet at the switch";
    EXPECT_GT(spansB[0].begin, 5 * blockSize) << "the second sink was quiet until the switch";
    EXPECT_GT(spansB[0].size(), 20 * blockSize);
    expectRampFromSilence(levelB, spansB[0]);
    EXPECT_EQ(window.reports(), (std::vector<OutputReport>{{sinkB, 0}}));
    audio.close();
    EXPECT_EQ(audio.current, sinkB);
    EXPECT_EQ(requested, sinkB);
}

TEST_F(AudioPlayback, UnopenableOutputIsReportedAndTheOldOnePlaysOn) {
    SinkRecorder sink(L"HF_A", 10);
    play(sinkA);
    feed(40, [&](int block) {
        if (block == 15) requested = unopenableDevice();
    });
    EXPECT_EQ(audio.underruns, 0u);
    EXPECT_EQ(requested, sinkA) << "the request is rolled back";
    finish(1);
    listenOn(sink);

    const auto level = envelope(played(sink));
    const auto spans = soundSpans(level, soundThreshold);
    ASSERT_EQ(spans.size(), 1u) << ::testing::PrintToString(spans);
    EXPECT_NEAR(static_cast<double>(spans[0].size()), 40.0 * blockSize, 64.0);
    EXPECT_GT(lowestLevel(level, {spans[0].begin + 1000, spans[0].end - 1000}), 0.95 * fullLevel);
    EXPECT_EQ(window.reports(), (std::vector<OutputReport>{{sinkA, 1}}));
    audio.close();
    EXPECT_EQ(audio.current, sinkA);
}

TEST(AudioStart, FailedOpenThrowsAndTheHalfStartedObjectGoesWithoutBlocking) {
    std::atomic<float> volume{1.0f};
    std::atomic<bool> muted{false}, paused{false}, squelchOpen{true};
    std::atomic<unsigned> requested{unopenableDevice()};
    auto audio = std::make_unique<Audio>();
    try {
        audio->start(unopenableDevice(), volume, muted, paused, squelchOpen, requested, nullptr);
        FAIL() << "an unopenable device started";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Sortie audio indisponible.");
    }
    EXPECT_NE(audio->event, nullptr);
    EXPECT_EQ(audio->output, nullptr);
    // Destroyed on a thread of its own, so that a hang fails the test
    // instead of stopping the run.
    auto destroyed = std::make_shared<std::promise<void>>();
    auto gone = destroyed->get_future();
    std::thread([halfStarted = audio.release(), destroyed] {
        delete halfStarted;
        destroyed->set_value();
    }).detach();
    EXPECT_EQ(gone.wait_for(std::chrono::seconds(10)), std::future_status::ready);
}

TEST(AudioSink, QueuesBlocksCountsLostOnesAndRefusesOnceOutputFailed) {
    Audio audio;
    ToneBlocks tone(toneAmplitude);
    for (int block = 0; block < 25; ++block) audio.push(tone.next());
    EXPECT_EQ(audio.queue.blocks.size(), 24u);
    EXPECT_EQ(audio.lostBlocks, 1u);

    audio.failed = 1;
    try {
        audio.push(tone.next());
        FAIL() << "a block was queued for a failed output";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Perte de la sortie audio.");
    }
    EXPECT_EQ(audio.queue.blocks.size(), 24u);
    EXPECT_EQ(audio.queue.dropped, 1u);
}

}  // namespace
