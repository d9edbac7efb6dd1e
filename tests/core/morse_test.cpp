#include "hf/morse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/morse_keying.h"

namespace {

using hf::Morse;

// ---------------------------------------------------------------------------
// Signal helpers.

// Envelope of a keyed carrier, one value per ms: amplitude `amp` while the key
// is down, the key edges slewed linearly over `rampMs` ms (0: instant), plus a
// complex noise of standard deviation `sigma` per component, the value being
// the magnitude. The noise is nearly Gaussian (sums of 12 uniforms from a
// seeded mt19937), so it is the same bit for bit on every platform.
std::vector<float> envelope(const std::vector<bool>& keys, double amp, int rampMs = 0,
                            double sigma = 0.0, uint32_t seed = 1) {
    std::mt19937 rng(seed);
    auto gauss = [&rng] {
        double sum = 0.0;
        for (int i = 0; i < 12; ++i) sum += rng() / 4294967296.0;
        return sum - 6.0;
    };
    std::vector<float> x;
    x.reserve(keys.size());
    double gain = 0.0;
    for (const bool down : keys) {
        const double target = down ? 1.0 : 0.0;
        if (rampMs <= 0) {
            gain = target;
        } else if (gain < target) {
            gain = std::min(target, gain + 1.0 / rampMs);
        } else if (gain > target) {
            gain = std::max(target, gain - 1.0 / rampMs);
        }
        double i = amp * gain, q = 0.0;
        if (sigma > 0.0) {
            i += sigma * gauss();
            q += sigma * gauss();
        }
        x.push_back(float(std::sqrt(i * i + q * q)));
    }
    return x;
}

hf::Settings autoSpeed(int wpm = 18) {
    hf::Settings s;
    s.WPM = wpm;
    s.AutoSpeed = true;
    return s;
}

hf::Settings fixedSpeed(int wpm) {
    hf::Settings s;
    s.WPM = wpm;
    s.AutoSpeed = false;
    return s;
}

// Feeds every value to a fresh decoder (reset with the settings' WPM) and
// returns the whole decoded text.
std::string decode(const std::vector<float>& x, const hf::Settings& s, Morse* keep = nullptr) {
    Morse local;
    Morse& m = keep ? *keep : local;
    m.reset(s.WPM);
    std::string text;
    for (const float v : x) text += m.tick(v, s);
    return text;
}

// One tick with the smoothed envelope pinned to `level` (env and x equal, so
// env += 0.2 × (x − env) leaves it exactly there): with a fixed threshold this
// sets the key state of every tick exactly.
std::string pinnedTick(Morse& m, float level, const hf::Settings& s) {
    m.env = level;
    return m.tick(level, s);
}

// Settings with a fixed threshold of -45 dBFS, for the pinned envelope.
hf::Settings pinnedSettings(bool autoSpeedOn, int wpm) {
    hf::Settings s;
    s.AutoSpeed = autoSpeedOn;
    s.WPM = wpm;
    s.AutoThreshold = false;
    s.Threshold = -45.0f;
    return s;
}

void warmUp(Morse& m, const hf::Settings& s) {
    m.reset(s.WPM);
    for (int i = 0; i < 499; ++i) ASSERT_EQ(pinnedTick(m, 0.0f, s), "");
}

// Key-down runs and key-up runs of exact lengths through the pinned envelope.
std::string pinnedRun(Morse& m, bool down, int ms, const hf::Settings& s) {
    std::string text;
    for (int i = 0; i < ms; ++i) text += pinnedTick(m, down ? 0.5f : 0.0f, s);
    return text;
}

// Characters given as patterns, keyed through the pinned envelope with exact
// lengths: elements `dot` apart, characters 3 dots apart, then `tailMs` of key up.
std::string keyPatterns(Morse& m, const std::vector<std::string>& chars, int dot, const hf::Settings& s,
                        int tailMs) {
    std::string text;
    for (std::size_t c = 0; c < chars.size(); ++c) {
        const std::string& pattern = chars[c];
        if (c > 0) text += pinnedRun(m, false, 3 * dot, s);
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            if (i > 0) text += pinnedRun(m, false, dot, s);
            text += pinnedRun(m, true, pattern[i] == '-' ? 3 * dot : dot, s);
        }
    }
    text += pinnedRun(m, false, tailMs, s);
    return text;
}

// ---------------------------------------------------------------------------
// Alphabet.

TEST(MorseAlphabet, HoldsTheFortyTwoCodes) {
    const std::map<std::string, char> expected = {
        {".-", 'A'},     {"-...", 'B'},   {"-.-.", 'C'},   {"-..", 'D'},    {".", 'E'},
        {"..-.", 'F'},   {"--.", 'G'},    {"....", 'H'},   {"..", 'I'},     {".---", 'J'},
        {"-.-", 'K'},    {".-..", 'L'},   {"--", 'M'},     {"-.", 'N'},     {"---", 'O'},
        {".--.", 'P'},   {"--.-", 'Q'},   {".-.", 'R'},    {"...", 'S'},    {"-", 'T'},
        {"..-", 'U'},    {"...-", 'V'},   {".--", 'W'},    {"-..-", 'X'},   {"-.--", 'Y'},
        {"--..", 'Z'},   {"-----", '0'},  {".----", '1'},  {"..---", '2'},  {"...--", '3'},
        {"....-", '4'},  {".....", '5'},  {"-....", '6'},  {"--...", '7'},  {"---..", '8'},
        {"----.", '9'},  {"-..-.", '/'},  {".-.-.-", '.'}, {"--..--", ','}, {"..--..", '?'},
        {"-...-", '='},  {".-.-.", '+'},
    };
    EXPECT_EQ(hf::alphabet().size(), 42u);
    EXPECT_EQ(hf::alphabet(), expected);
    EXPECT_EQ(&hf::alphabet(), &hf::alphabet());
    std::set<char> chars;
    for (const auto& [pattern, c] : hf::alphabet()) chars.insert(c);
    EXPECT_EQ(chars.size(), 42u);
}

// ---------------------------------------------------------------------------
// Keying helper.

TEST(MorseKeying, LaysDotsDashesAndGaps) {
    // "ET" at 20 WPM (dot 60 ms), 5 ms lead, 2 ms tail: 60 down, 180 up, 180 down.
    const auto keys = hf_test::keyMorse("et", 20, 5, 2);
    ASSERT_EQ(keys.size(), 5u + 60 + 180 + 180 + 2);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const bool down = (i >= 5 && i < 65) || (i >= 245 && i < 425);
        ASSERT_EQ(keys[i], down) << i;
    }
    // PARIS plus its word gap is 50 dots: 1000 ms at 60 WPM (dot 20 ms).
    EXPECT_EQ(hf_test::keyMorse("PARIS ", 60, 0).size(), 1000u);
    // A dot that is not a whole number of ms keeps the total length.
    EXPECT_EQ(hf_test::keyMorse("PARIS ", 18, 0).size(), 3333u);
    // A space between two characters is 7 dots.
    EXPECT_EQ(hf_test::keyMorse("E E", 20, 0).size(), 60u * (1 + 7 + 1));
    EXPECT_EQ(hf_test::morsePattern('q'), "--.-");
    EXPECT_THROW(hf_test::keyMorse("A#", 20, 0), std::invalid_argument);
}

// ---------------------------------------------------------------------------
// Reset.

TEST(MorseReset, SetsTheTableValuesAndReleasesTheLogs) {
    Morse m;
    m.mark = true;
    m.timingKnown = true;
    m.wordSpaceDone = false;
    m.runMs = 7;
    m.ticks = 9;
    m.noise = 1;
    m.peak = 1;
    m.env = 1;
    m.lastMark = 5;
    m.lastWeight = 3;
    m.pattern = "-.";
    m.runs.assign(100, Morse::Run{true, 3});
    m.markLens.assign(100, 3.0);
    m.reset(18);
    EXPECT_FALSE(m.mark);
    EXPECT_FALSE(m.timingKnown);
    EXPECT_TRUE(m.wordSpaceDone);
    EXPECT_EQ(m.runMs, 0);
    EXPECT_EQ(m.ticks, 0);
    EXPECT_EQ(m.noise, 0.0001f);
    EXPECT_EQ(m.peak, 0.001f);
    EXPECT_EQ(m.env, 0.0f);
    EXPECT_EQ(m.dotMs, 1200.0 / 18);
    EXPECT_NEAR(m.dotMs, 66.667, 0.001);
    EXPECT_EQ(m.lastMark, 0.0);
    EXPECT_EQ(m.lastWeight, 1.0);
    EXPECT_TRUE(m.pattern.empty());
    EXPECT_TRUE(m.runs.empty());
    EXPECT_EQ(m.runs.capacity(), 0u);
    EXPECT_TRUE(m.markLens.empty());
    EXPECT_EQ(m.markLens.capacity(), 0u);
}

struct ResetSpeedCase {
    int wpm;
    double dotMs;
};

class MorseResetSpeed : public testing::TestWithParam<ResetSpeedCase> {};

TEST_P(MorseResetSpeed, ClampsTheSpeed) {
    Morse m;
    m.reset(GetParam().wpm);
    EXPECT_EQ(m.dotMs, GetParam().dotMs);
}

INSTANTIATE_TEST_SUITE_P(Speeds, MorseResetSpeed,
                         testing::Values(ResetSpeedCase{-3, 240.0}, ResetSpeedCase{4, 240.0},
                                         ResetSpeedCase{5, 240.0}, ResetSpeedCase{20, 60.0},
                                         ResetSpeedCase{60, 20.0}, ResetSpeedCase{61, 20.0},
                                         ResetSpeedCase{100, 20.0}));

// ---------------------------------------------------------------------------
// Warm-up and the key state.

TEST(MorseWarmUp, FirstFourHundredNinetyNineTicksDecideNothing) {
    for (const bool autoOn : {true, false}) {
        const hf::Settings s = autoOn ? autoSpeed(20) : fixedSpeed(20);
        Morse m;
        m.reset(20);
        // Silence, then a strong carrier from tick 300 on: still nothing.
        for (int tick = 1; tick <= 499; ++tick) {
            ASSERT_EQ(m.tick(tick < 300 ? 0.001f : 1.0f, s), "") << tick;
            ASSERT_FALSE(m.mark) << tick;
            ASSERT_EQ(m.runMs, 0) << tick;
            ASSERT_EQ(m.ticks, tick);
            ASSERT_TRUE(m.runs.empty());
        }
        EXPECT_EQ(m.timingKnown, !autoOn);
    }
}

TEST(MorseWarmUp, TheFiveHundredthTickCanKeyDown) {
    const hf::Settings s = autoSpeed(20);
    Morse m;
    m.reset(20);
    for (int tick = 1; tick <= 499; ++tick) ASSERT_EQ(m.tick(0.001f, s), "");
    ASSERT_FALSE(m.mark);
    EXPECT_EQ(m.tick(1.0f, s), "");
    EXPECT_TRUE(m.mark);
    EXPECT_EQ(m.ticks, 500);
    // The ended key-up run of one ms was logged.
    ASSERT_EQ(m.runs.size(), 1u);
    EXPECT_FALSE(m.runs[0].mark);
    EXPECT_EQ(m.runs[0].length, 1);
}

TEST(MorseWarmUp, TheFiveHundredthTickStillSettlesTheNoise) {
    const hf::Settings s = autoSpeed(20);
    Morse m;
    m.reset(20);
    for (int i = 0; i < 499; ++i) m.tick(0.01f, s);
    // Tick 500 (t = 499): noise += 0.02 × (env − noise), ref = that noise.
    float env = m.env + 0.2f * (0.02f - m.env);
    float noise = m.noise + 0.02f * (env - m.noise);
    float peak = std::max(0.999f * noise, env);
    noise += (env - noise) * (env < noise ? 0.002f : 0.0001f);
    m.tick(0.02f, s);
    EXPECT_EQ(m.env, env);
    EXPECT_EQ(m.noise, noise);
    EXPECT_EQ(m.peak, peak);
    // Tick 501 (t = 500): only the key-up rule moves the noise, ref = peak.
    env += 0.2f * (0.02f - env);
    noise += (env - noise) * (env < noise ? 0.002f : 0.0001f);
    peak = std::max(0.999f * peak, env);
    m.tick(0.02f, s);
    EXPECT_EQ(m.env, env);
    EXPECT_EQ(m.noise, noise);
    EXPECT_EQ(m.peak, peak);
    EXPECT_FALSE(m.mark);
}

TEST(MorseWarmUp, FirstTickSeedsEnvelopeAndNoise) {
    const hf::Settings s;
    Morse m;
    m.reset(18);
    m.tick(0.5f, s);
    EXPECT_EQ(m.env, 0.5f);
    EXPECT_EQ(m.ticks, 1);
    // noise = base (0.5) then step 3 rises it by (env − noise) × 0.0001 = 0.
    EXPECT_EQ(m.noise, 0.5f);
    EXPECT_EQ(m.peak, 0.5f);

    m.reset(18);
    m.tick(0.0f, s);
    EXPECT_EQ(m.env, 0.0f);
    // base = 0.000001, noise = base + 0.02 × (0 − base), then falls by 0.002.
    float n = 0.000001f + 0.02f * (0.0f - 0.000001f);
    n += (0.0f - n) * 0.002f;
    EXPECT_EQ(m.noise, n);
}

TEST(MorseKey, ConstantInputKeepsTheKeyUp) {
    for (const float level : {0.0f, 0.00001f, 0.003f, 0.1f, 1.0f}) {
        const hf::Settings s = autoSpeed(20);
        Morse m;
        m.reset(20);
        std::string text;
        for (int i = 0; i < 20000; ++i) {
            text += m.tick(level, s);
            ASSERT_FALSE(m.mark) << level << " at " << i;
        }
        EXPECT_EQ(text, "");
        EXPECT_NEAR(m.noise, std::max(level, 0.0f), std::max(level, 0.000001f) * 0.05f) << level;
    }
}

TEST(MorseKey, CountersSaturateAtOneMillion) {
    const hf::Settings s = fixedSpeed(20);
    Morse m;
    m.reset(20);
    for (int i = 0; i < 1000600; ++i) m.tick(0.0f, s);
    EXPECT_EQ(m.ticks, 1000000);
    EXPECT_EQ(m.runMs, 1000000);
    EXPECT_FALSE(m.mark);
}

TEST(MorseKey, FixedThresholdEdges) {
    const hf::Settings s = pinnedSettings(false, 20);
    const float thr = std::pow(10.0f, -45.0f / 20.0f);
    const float down = thr * 1.1f;
    const float up = thr * 0.8f;
    EXPECT_NEAR(down, 0.00619, 0.00001);
    EXPECT_NEAR(up, 0.0045, 0.00001);

    Morse m;
    warmUp(m, s);
    pinnedTick(m, down, s);
    EXPECT_FALSE(m.mark) << "at 1.1 × thr the key stays up";
    pinnedTick(m, std::nextafter(down, 1.0f), s);
    EXPECT_TRUE(m.mark) << "above 1.1 × thr the key goes down";
    pinnedTick(m, std::nextafter(up, 1.0f), s);
    EXPECT_TRUE(m.mark) << "above 0.8 × thr the key stays down";
    pinnedTick(m, up, s);
    EXPECT_FALSE(m.mark) << "at 0.8 × thr the key goes up";
    pinnedTick(m, std::nextafter(up, 1.0f), s);
    EXPECT_FALSE(m.mark) << "between the edges the key stays up";

    // The threshold is read on every tick: -30 dBFS takes effect at once.
    hf::Settings louder = s;
    louder.Threshold = -30.0f;
    const float downLoud = std::pow(10.0f, -30.0f / 20.0f) * 1.1f;
    pinnedTick(m, std::nextafter(down, 1.0f), louder);
    EXPECT_FALSE(m.mark);
    pinnedTick(m, downLoud, louder);
    EXPECT_FALSE(m.mark);
    pinnedTick(m, std::nextafter(downLoud, 1.0f), louder);
    EXPECT_TRUE(m.mark);
    // And so is AutoThreshold: the automatic threshold (noise near 0, peak
    // about 0.035) is about 0.011, so 0.03 keeps the key down.
    hf::Settings automatic = s;
    automatic.AutoThreshold = true;
    pinnedTick(m, 0.03f, automatic);
    EXPECT_TRUE(m.mark);
}

TEST(MorseKey, AutomaticThresholdFollowsNoiseAndPeak) {
    // After warm-up on silence the noise floor is tiny: a carrier 0.05 keys
    // down on its first ms and up again once the envelope has fallen to
    // 0.8 × (noise + 0.32 × (peak − noise)), about 0.256 × 0.05, i.e. 7 ms
    // after the carrier stops (0.8^6 = 0.262, 0.8^7 = 0.210).
    const hf::Settings s = autoSpeed(20);
    Morse m;
    m.reset(20);
    for (int i = 0; i < 1000; ++i) m.tick(0.0f, s);
    m.tick(0.05f, s);
    EXPECT_TRUE(m.mark);
    for (int i = 0; i < 99; ++i) m.tick(0.05f, s);
    int ms = 0;
    while (m.mark && ms < 100) {
        m.tick(0.0f, s);
        ++ms;
    }
    EXPECT_EQ(ms, 7);
    ASSERT_FALSE(m.runs.empty());
    EXPECT_TRUE(m.runs.back().mark);
    EXPECT_EQ(m.runs.back().length, 106);
}

TEST(MorseKey, KeyUpAtEightTenthsOfAThirdOfThePeak) {
    // Noise near 0 after warm-up on silence; a pinned carrier of 0.05 sets the
    // peak; the key goes up once the envelope is at or below
    // 0.8 × (noise + 0.32 × (peak − noise)), about 0.0128.
    const hf::Settings s = autoSpeed(20);
    Morse m;
    m.reset(20);
    for (int i = 0; i < 1000; ++i) m.tick(0.0f, s);
    for (int i = 0; i < 20; ++i) pinnedTick(m, 0.05f, s);
    ASSERT_TRUE(m.mark);
    ASSERT_LT(m.noise, 1e-5f);
    pinnedTick(m, 0.0130f, s);
    EXPECT_TRUE(m.mark);
    const float peak = 0.999f * m.peak;
    const float up = 0.8f * (m.noise + 0.32f * (peak - m.noise));
    pinnedTick(m, std::nextafter(up, 1.0f), s);
    EXPECT_TRUE(m.mark);
    pinnedTick(m, 0.8f * (m.noise + 0.32f * (0.999f * m.peak - m.noise)), s);
    EXPECT_FALSE(m.mark);
}

TEST(MorseKey, KeyDownNeedsMoreThanThreeTimesTheNoise) {
    // A noise floor settled on a constant 0.01; the pinned envelope then
    // steps up. Threshold max(noise + 0.32 × (peak − noise), 3 × noise) with
    // peak = envelope: 3 × noise rules, and the key needs 1.1 × that.
    for (const auto& [level, down] : {std::pair{0.0325f, false}, std::pair{0.0335f, true}}) {
        const hf::Settings s = autoSpeed(20);
        Morse m;
        m.reset(20);
        for (int i = 0; i < 3000; ++i) m.tick(0.01f, s);
        ASSERT_NEAR(m.noise, 0.01f, 1e-6f);
        pinnedTick(m, level, s);
        EXPECT_EQ(m.mark, down) << level;
    }
}

TEST(MorseKey, PeakDecaysByThePerMilleAndNoiseFallsFasterThanItRises) {
    const hf::Settings s = autoSpeed(20);
    Morse m;
    m.reset(20);
    for (int i = 0; i < 600; ++i) m.tick(0.01f, s);
    for (int i = 0; i < 50; ++i) m.tick(0.5f, s);
    ASSERT_TRUE(m.mark);
    const float noiseInMark = m.noise;
    for (int i = 0; i < 50; ++i) {
        m.tick(0.5f, s);
        EXPECT_EQ(m.noise, noiseInMark) << "the noise floor holds while the key is down";
    }
    // Key up on a pinned zero envelope: the peak decays by 0.999 a tick.
    while (m.mark) pinnedTick(m, 0.0f, s);
    for (int i = 0; i < 100; ++i) {
        const float peak = m.peak, noise = m.noise;
        pinnedTick(m, 0.0f, s);
        ASSERT_EQ(m.peak, 0.999f * peak);
        ASSERT_EQ(m.noise, noise + (0.0f - noise) * 0.002f);
    }
    // Rising: 0.0001 of the difference a tick.
    const float noise = m.noise;
    ASSERT_LT(noise, 0.01f);
    pinnedTick(m, 0.01f, s);
    EXPECT_FALSE(m.mark);
    EXPECT_EQ(m.noise, noise + (0.01f - noise) * 0.0001f);
}

// ---------------------------------------------------------------------------
// Fixed speed: dot length and the limits of marks and spaces (process).

TEST(MorseFixedSpeed, DotLengthIsSetOnEveryTick) {
    Morse m;
    m.reset(18);
    m.tick(0.0f, fixedSpeed(20));
    EXPECT_TRUE(m.timingKnown);
    EXPECT_EQ(m.dotMs, 60.0);
    m.tick(0.0f, fixedSpeed(100));
    EXPECT_EQ(m.dotMs, 20.0);
    m.tick(0.0f, fixedSpeed(2));
    EXPECT_EQ(m.dotMs, 240.0);
    EXPECT_EQ(m.ticks, 3);
}

struct MarkCase {
    int wpm;
    int32_t length;
    std::string pattern;  // pattern after the mark; "" when it is ignored
};

class MorseMarks : public testing::TestWithParam<MarkCase> {};

TEST_P(MorseMarks, CountOrAreIgnored) {
    const auto c = GetParam();
    Morse m;
    m.reset(18);
    m.tick(0.0f, fixedSpeed(c.wpm));
    m.lastMark = 99.0;
    std::string out;
    m.process(Morse::Run{true, c.length}, out, false);
    EXPECT_EQ(out, "");
    EXPECT_EQ(m.pattern, c.pattern);
    if (c.pattern.empty()) {
        EXPECT_EQ(m.lastMark, 0.0);
    } else {
        EXPECT_EQ(m.lastMark, double(c.length));
        EXPECT_EQ(m.lastWeight, c.pattern == "-" ? 3.0 : 1.0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, MorseMarks,
    testing::Values(
        // 20 WPM, dot 60: marks from 24 to 360 count, dashes over 120.
        MarkCase{20, 23, ""}, MarkCase{20, 24, "."}, MarkCase{20, 60, "."}, MarkCase{20, 120, "."},
        MarkCase{20, 121, "-"}, MarkCase{20, 360, "-"}, MarkCase{20, 361, ""},
        // 100 WPM clamped to 60, dot 20: the 12 ms floor, dashes over 40, at most 120.
        MarkCase{100, 11, ""}, MarkCase{100, 12, "."}, MarkCase{100, 40, "."},
        MarkCase{100, 41, "-"}, MarkCase{100, 120, "-"}, MarkCase{100, 121, ""},
        // 5 WPM, dot 240: from 96 to 1440.
        MarkCase{5, 95, ""}, MarkCase{5, 96, "."}, MarkCase{5, 481, "-"}, MarkCase{5, 1440, "-"},
        MarkCase{5, 1441, ""}));

struct SpaceCase {
    int wpm;
    int32_t length;
    std::string out;
};

class MorseSpaces : public testing::TestWithParam<SpaceCase> {};

TEST_P(MorseSpaces, EndCharactersAndWords) {
    const auto c = GetParam();
    Morse m;
    m.reset(18);
    m.tick(0.0f, fixedSpeed(c.wpm));
    std::string out;
    m.process(Morse::Run{true, int32_t(m.dotMs)}, out, false);
    ASSERT_EQ(m.pattern, ".");
    m.process(Morse::Run{false, c.length}, out, false);
    EXPECT_EQ(out, c.out);
    EXPECT_EQ(m.pattern, c.out.empty() ? "." : "");
}

INSTANTIATE_TEST_SUITE_P(
    Limits, MorseSpaces,
    testing::Values(
        // 20 WPM: a character after more than 132 ms, a word after more than 312.
        SpaceCase{20, 60, ""}, SpaceCase{20, 132, ""}, SpaceCase{20, 133, "E"},
        SpaceCase{20, 312, "E"}, SpaceCase{20, 313, "E "},
        // 60 WPM: 44 and 104.
        SpaceCase{60, 44, ""}, SpaceCase{60, 45, "E"}, SpaceCase{60, 104, "E"},
        SpaceCase{60, 105, "E "}));

TEST(MorseSpace, ProgressiveSpaceWritesOneCharacterAndOneSpace) {
    Morse m;
    m.reset(18);
    m.tick(0.0f, fixedSpeed(20));
    std::string out;
    m.process(Morse::Run{true, 180}, out, false);
    std::string perMs;
    for (int32_t e = 0; e <= 20000; ++e) {
        std::string step;
        m.process(Morse::Run{false, e}, step, false);
        if (e == 133) {
            EXPECT_EQ(step, "T");
        }
        if (e == 313) {
            EXPECT_EQ(step, " ");
        }
        perMs += step;
    }
    EXPECT_EQ(perMs, "T ");
    EXPECT_TRUE(m.wordSpaceDone);
}

TEST(MorseSpace, NoSpaceBeforeTheFirstCharacter) {
    Morse m;
    m.reset(18);
    m.tick(0.0f, fixedSpeed(20));
    std::string out;
    for (int32_t e = 0; e <= 5000; ++e) m.process(Morse::Run{false, e}, out, false);
    EXPECT_EQ(out, "");
}

// ---------------------------------------------------------------------------
// Unknown patterns and nine symbols.

TEST(MorseUnknown, SixDotsGiveAQuestionMark) {
    Morse m;
    m.reset(18);
    m.tick(0.0f, fixedSpeed(20));
    std::string out;
    for (int i = 0; i < 6; ++i) {
        m.process(Morse::Run{true, 60}, out, false);
        m.process(Morse::Run{false, 60}, out, false);
    }
    EXPECT_EQ(out, "");
    EXPECT_EQ(m.pattern, "......");
    m.process(Morse::Run{false, 200}, out, false);
    EXPECT_EQ(out, "?");
    m.process(Morse::Run{false, 400}, out, false);
    EXPECT_EQ(out, "? ");
}

TEST(MorseUnknown, NineSymbolsGiveAQuestionMarkAndANewPattern) {
    Morse m;
    m.reset(18);
    m.tick(0.0f, fixedSpeed(20));
    std::string out;
    for (int i = 0; i < 8; ++i) {
        m.process(Morse::Run{true, i % 2 ? 180 : 60}, out, false);
        m.process(Morse::Run{false, 60}, out, false);
    }
    EXPECT_EQ(out, "");
    EXPECT_EQ(m.pattern, ".-.-.-.-");
    m.process(Morse::Run{true, 60}, out, false);
    EXPECT_EQ(out, "?");
    EXPECT_EQ(m.pattern, "");
    EXPECT_FALSE(m.wordSpaceDone);
    EXPECT_EQ(m.lastMark, 60.0);
    // A tenth symbol starts a new pattern.
    m.process(Morse::Run{false, 60}, out, false);
    m.process(Morse::Run{true, 180}, out, false);
    EXPECT_EQ(m.pattern, "-");
    m.process(Morse::Run{false, 400}, out, false);
    EXPECT_EQ(out, "?T ");
}

TEST(MorseUnknown, NineSymbolsThenAWordGapGiveOneSpace) {
    Morse m;
    m.reset(18);
    m.tick(0.0f, fixedSpeed(20));
    std::string out;
    for (int i = 0; i < 9; ++i) {
        m.process(Morse::Run{true, 60}, out, false);
        m.process(Morse::Run{false, 60}, out, false);
    }
    for (int32_t e = 0; e <= 2000; ++e) m.process(Morse::Run{false, e}, out, false);
    EXPECT_EQ(out, "? ");
}

TEST(MorseUnknown, ThroughTick) {
    for (const bool autoOn : {false, true}) {
        const hf::Settings s = pinnedSettings(autoOn, 20);
        Morse m;
        warmUp(m, s);
        EXPECT_EQ(keyPatterns(m, {"......", ".-", ".........", "-"}, 60, s, 3000), "?A?T ") << autoOn;
    }
}

// ---------------------------------------------------------------------------
// Logs and the estimate.

TEST(MorseLogs, ShortMarksAreNotLoggedAndTheRunLogIsDroppedPast128) {
    const hf::Settings s = pinnedSettings(true, 20);
    Morse m;
    warmUp(m, s);
    pinnedRun(m, false, 20, s);
    std::size_t largest = 0;
    int drops = 0;
    for (int i = 0; i < 2000; ++i) {
        const std::size_t before = m.runs.size();
        pinnedTick(m, i % 11 < 5 ? 0.5f : 0.0f, s);  // marks of 5 ms, spaces of 6
        if (m.runs.size() < before) {
            ++drops;
            EXPECT_EQ(before, 128u);
            EXPECT_EQ(m.runs.size(), 0u);
        }
        largest = std::max(largest, m.runs.size());
        ASSERT_TRUE(m.markLens.empty());
    }
    EXPECT_EQ(largest, 128u);
    EXPECT_GE(drops, 1);
    EXPECT_FALSE(m.timingKnown);
    // A mark of 12 ms is logged.
    pinnedRun(m, false, 20, s);
    pinnedRun(m, true, 12, s);
    pinnedRun(m, false, 1, s);
    ASSERT_EQ(m.markLens.size(), 1u);
    EXPECT_EQ(m.markLens[0], 12.0);
}

TEST(MorseLogs, TheSixteenthMarkTriggersTheEstimate) {
    // "TEST" at 30 WPM (dot 40 ms) holds 6 marks: the 16th is the second dot
    // of the S of the third word.
    const hf::Settings s = pinnedSettings(true, 18);
    Morse m;
    warmUp(m, s);
    pinnedRun(m, false, 100, s);
    const std::vector<std::string> test = {"-", ".", "...", "-"};
    std::string text;
    for (int word = 0; word < 2; ++word) {
        text += keyPatterns(m, test, 40, s, 280);
        EXPECT_FALSE(m.timingKnown);
        EXPECT_EQ(m.markLens.size(), 6u * (word + 1));
    }
    text += keyPatterns(m, {"-", ".", "."}, 40, s, 40);  // T, E and the S's first dot
    EXPECT_FALSE(m.timingKnown);
    EXPECT_EQ(m.markLens.size(), 15u);
    text += pinnedRun(m, true, 40, s);
    EXPECT_FALSE(m.timingKnown);
    EXPECT_EQ(text, "");
    // The mark ends on the next tick: estimate, replay, decoding.
    text += pinnedRun(m, false, 1, s);
    EXPECT_TRUE(m.timingKnown);
    // Marks of exactly 40 and 120: (120 / 3 + 40) / 2 = 40.
    EXPECT_EQ(m.dotMs, 40.0);
    EXPECT_TRUE(m.runs.empty());
    EXPECT_TRUE(m.markLens.empty());
    EXPECT_EQ(text, "TEST TEST TE");
    EXPECT_EQ(m.pattern, "..");
    text += pinnedRun(m, false, 39, s);
    text += keyPatterns(m, {".", "-"}, 40, s, 3000);
    EXPECT_EQ(text, "TEST TEST TEST ");
    EXPECT_NEAR(m.dotMs, 40.0, 1e-9);
}

TEST(MorseEstimate, TwoClustersGiveTheDot) {
    Morse m;
    m.reset(18);
    m.markLens = {40, 42, 38, 120, 118, 41, 122, 39, 40, 121, 119, 40, 42, 120, 38, 40};
    m.runs = {{false, 500}, {true, 40}, {false, 40}, {true, 120}, {false, 400}};
    std::string out;
    m.acquire(out);
    // c1 = 40 (dots), c2 = 120 (dashes): (120 / 3 + 40) / 2 = 40.
    EXPECT_DOUBLE_EQ(m.dotMs, 40.0);
    EXPECT_TRUE(m.timingKnown);
    EXPECT_EQ(out, "A ");
    EXPECT_TRUE(m.runs.empty());
    EXPECT_TRUE(m.markLens.empty());
}

TEST(MorseEstimate, EqualMarksKeepTheDotFromWpm) {
    Morse m;
    m.reset(20);
    m.markLens = {58, 62, 60, 61, 59, 63, 57, 60, 60, 61, 62, 58, 59, 60, 64, 56};
    for (int i = 0; i < 4; ++i) {
        m.runs.push_back({true, 60});
        m.runs.push_back({false, i < 3 ? 60 : 200});
    }
    std::string out;
    m.acquire(out);
    EXPECT_EQ(m.dotMs, 60.0);
    EXPECT_TRUE(m.timingKnown);
    EXPECT_EQ(out, "H");
}

TEST(MorseEstimate, ClampsAndIgnoresAnEmptyLog) {
    Morse m;
    m.reset(18);
    std::string out;
    m.acquire(out);
    EXPECT_FALSE(m.timingKnown);
    EXPECT_EQ(m.dotMs, 1200.0 / 18);

    m.markLens = {300, 900};
    m.acquire(out);
    EXPECT_EQ(m.dotMs, 240.0);
    EXPECT_TRUE(m.timingKnown);

    m.reset(18);
    m.markLens = {12, 12, 36};
    m.acquire(out);
    // (36 / 3 + 12) / 2 = 12, clamped to 20.
    EXPECT_EQ(m.dotMs, 20.0);
    EXPECT_EQ(out, "");
}

struct EstimateCase {
    std::vector<double> markLens;
    double dotMs;  // from reset(18) = 66.667 unless changed
};

class MorseEstimateCases : public testing::TestWithParam<EstimateCase> {};

TEST_P(MorseEstimateCases, GiveTheDot) {
    Morse m;
    m.reset(18);
    m.markLens = GetParam().markLens;
    std::string out;
    m.acquire(out);
    EXPECT_DOUBLE_EQ(m.dotMs, GetParam().dotMs);
    EXPECT_TRUE(m.timingKnown);
}

INSTANTIATE_TEST_SUITE_P(
    Clusters, MorseEstimateCases,
    testing::Values(
        // Dash centre 1.8 times the dot centre or less: the dot stays.
        EstimateCase{{50, 90}, 1200.0 / 18}, EstimateCase{{60, 100}, 1200.0 / 18},
        EstimateCase{{50, 90.5}, (90.5 / 3 + 50) * 0.5},
        // One mark only: no dot cluster, the dot stays.
        EstimateCase{{100}, 1200.0 / 18},
        // Needs more than one round, with a tie on the way: after round 1
        // c1 = 65 and c2 = 135, and 100, halfway, joins the dashes:
        // dots {30}, dashes {100, 110, 120, 175}.
        EstimateCase{{175, 30, 110, 100, 120}, ((100.0 + 110 + 120 + 175) / 4 / 3 + 30) * 0.5},
        // The clamps.
        EstimateCase{{10, 30}, 20.0}, EstimateCase{{400, 1200}, 240.0}));

TEST(MorseEstimate, TiesJoinTheDashCluster) {
    // 80 is as far from 40 as from 120 and joins the dashes.
    Morse m;
    m.reset(18);
    m.markLens = {40, 80, 120};
    std::string out;
    m.acquire(out);
    // Tie to dashes: c1 = 40, c2 = 100: (100 / 3 + 40) / 2 = 36.667.
    // (Tie to dots would give c1 = 60, c2 = 120, 120 > 108: (40 + 60) / 2 = 50.)
    EXPECT_DOUBLE_EQ(m.dotMs, (100.0 / 3 + 40) * 0.5);
}

TEST(MorseEstimate, EqualMarksOverTheAirKeepTheDotAndDecode) {
    // All dots, keyed at 20 WPM with the form at 20 WPM and automatic speed:
    // the estimate at the 16th mark keeps 60 ms and decoding starts.
    const std::string text = "SHE IS HIS";
    const auto x = envelope(hf_test::keyMorse(text, 20, 800, 2000), 0.05, 3, 0.005, 7);
    const hf::Settings s = autoSpeed(20);
    Morse m;
    m.reset(20);
    std::string out;
    bool seen = false;
    for (const float v : x) {
        out += m.tick(v, s);
        if (m.timingKnown && !seen) {
            seen = true;
            EXPECT_EQ(m.dotMs, 60.0);
            EXPECT_EQ(out, "SHE IS ");
        }
    }
    EXPECT_TRUE(seen);
    EXPECT_EQ(out, "SHE IS HIS ");
}

TEST(MorseEstimate, LongKeyUpTriggersTheEstimate) {
    // One "E" only: a single logged mark, estimated after 1500 ms of key up;
    // its text appears whole on that tick.
    const hf::Settings s = autoSpeed(20);
    const auto x = envelope(hf_test::keyMorse("E", 20, 1000, 3000), 0.05);
    Morse m;
    m.reset(20);
    std::string out;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const std::string step = m.tick(x[i], s);
        if (!step.empty()) {
            EXPECT_EQ(step, "E ");
            EXPECT_EQ(m.runMs, 1501);
            EXPECT_TRUE(m.timingKnown);
            EXPECT_EQ(m.dotMs, 60.0);
        }
        out += step;
    }
    EXPECT_EQ(out, "E ");
}

// ---------------------------------------------------------------------------
// Adaptation.

TEST(MorseAdapt, ElementSpaceMovesTheDotSixPercent) {
    Morse m;
    m.reset(20);
    m.timingKnown = true;
    std::string out;
    m.process(Morse::Run{true, 150}, out, true);  // a dash of 150 (d = 60)
    EXPECT_EQ(m.lastWeight, 3.0);
    m.process(Morse::Run{false, 50}, out, true);
    // m = (150 + 50) / 4 = 50, within 42..84: 0.94 × 60 + 0.06 × 50 = 59.4.
    EXPECT_DOUBLE_EQ(m.dotMs, 0.94 * 60 + 0.06 * 50);
    EXPECT_EQ(m.lastMark, 0.0);

    // Without adapt, or outside the element-space window, nothing moves.
    const double d = m.dotMs;
    m.process(Morse::Run{true, 60}, out, true);
    m.process(Morse::Run{false, 60}, out, false);
    EXPECT_EQ(m.dotMs, d);
    EXPECT_EQ(m.lastMark, 60.0);
    m.process(Morse::Run{false, 200}, out, true);  // not an element space
    EXPECT_EQ(m.dotMs, d);
    EXPECT_EQ(m.lastMark, 60.0);
    // The element-space window is open: 0.5 × d and 1.6 × d do not adapt.
    m.dotMs = 60;
    m.lastMark = 60;
    m.lastWeight = 1;
    m.process(Morse::Run{false, 96}, out, true);
    EXPECT_EQ(m.dotMs, 60.0);
    EXPECT_EQ(m.lastMark, 60.0);
    m.process(Morse::Run{false, 30}, out, true);
    EXPECT_EQ(m.dotMs, 60.0);
    EXPECT_EQ(m.lastMark, 60.0);
    m.process(Morse::Run{false, 95}, out, true);  // m = 77.5
    EXPECT_DOUBLE_EQ(m.dotMs, 0.94 * 60 + 0.06 * 77.5);
    EXPECT_EQ(m.lastMark, 0.0);
    m.dotMs = d;
    // The implied-dot window is open too: 42 and 84 do not adapt.
    for (const auto& [mark, space, adapts] :
         {std::tuple{44, 40, false}, std::tuple{45, 40, true}, std::tuple{98, 70, false},
          std::tuple{97, 70, true}}) {
        m.dotMs = 60;
        m.lastMark = mark;
        m.lastWeight = 1;
        m.process(Morse::Run{false, space}, out, true);
        EXPECT_EQ(m.dotMs, adapts ? 0.94 * 60 + 0.06 * (mark + space) / 2.0 : 60.0) << mark << " " << space;
        EXPECT_EQ(m.lastMark, 0.0);
    }
    m.dotMs = d;
    // An implied dot out of 0.7..1.4 × d clears lastMark without adapting.
    m.lastMark = 10;
    m.lastWeight = 3;
    m.process(Morse::Run{false, 40}, out, true);  // m = 12.5
    EXPECT_EQ(m.dotMs, d);
    EXPECT_EQ(m.lastMark, 0.0);
}

TEST(MorseAdapt, ClampsTheDotTo20And240) {
    Morse m;
    m.reset(20);
    m.timingKnown = true;
    std::string out;
    m.dotMs = 239;
    m.process(Morse::Run{true, 300}, out, true);
    m.process(Morse::Run{false, 300}, out, true);  // m = 300: 0.94 × 239 + 18 = 242.66
    EXPECT_EQ(m.dotMs, 240.0);
    m.dotMs = 20.1;
    m.pattern.clear();
    m.process(Morse::Run{true, 14}, out, true);
    m.process(Morse::Run{false, 13}, out, true);  // m = 13.5, not above 0.7 × 20.1
    EXPECT_EQ(m.dotMs, 20.1);
    m.process(Morse::Run{true, 14}, out, true);
    m.process(Morse::Run{false, 15}, out, true);  // m = 14.5: 18.894 + 0.87 = 19.764
    EXPECT_EQ(m.dotMs, 20.0);
    EXPECT_EQ(out, "");
}

TEST(MorseAdapt, FollowsAChangeOfSpeed) {
    // 20 WPM then 25 WPM in one transmission with automatic speed: the dot
    // follows and the text stays right.
    std::vector<bool> keys = hf_test::keyMorse("CQ CQ DE F4ABC ", 20, 800);
    const auto faster = hf_test::keyMorse("F4ABC DE F5XYZ K", 25, 0, 2000);
    keys.insert(keys.end(), faster.begin(), faster.end());
    Morse m;
    const std::string out = decode(envelope(keys, 0.05, 4, 0.005, 3), autoSpeed(18), &m);
    EXPECT_EQ(out, "CQ CQ DE F4ABC F4ABC DE F5XYZ K ");
    EXPECT_NEAR(1200.0 / m.dotMs, 25.0, 1.5);
}

// ---------------------------------------------------------------------------
// Keyed text, end to end.

struct TextCase {
    std::string text;
    double keyedWpm;
    bool autoSpeedOn;
    int formWpm;
    int rampMs;
    double noise;  // sigma per I/Q component, relative to the carrier amplitude
};

std::string caseName(const testing::TestParamInfo<TextCase>& info) {
    const auto& c = info.param;
    std::string name = std::to_string(info.index) + "_" + std::to_string(int(c.keyedWpm)) + "wpm_" +
                       (c.autoSpeedOn ? "auto" : "fixed") + "_ramp" + std::to_string(c.rampMs) + "_noise" +
                       std::to_string(int(std::lround(c.noise * 100)));
    return name;
}

class MorseText : public testing::TestWithParam<TextCase> {};

TEST_P(MorseText, DecodesExactly) {
    const auto c = GetParam();
    const hf::Settings s = c.autoSpeedOn ? autoSpeed(c.formWpm) : fixedSpeed(c.formWpm);
    // The expected text: the keyed one, with the trailing silence's word space.
    std::string expected = c.text;
    if (expected.back() != ' ') expected += ' ';
    const auto keys = hf_test::keyMorse(c.text, c.keyedWpm, 700, 2500);
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        const double amp = 0.05;
        Morse m;
        const std::string out = decode(envelope(keys, amp, c.rampMs, c.noise * amp, seed), s, &m);
        EXPECT_EQ(out, expected) << "seed " << seed;
        EXPECT_TRUE(m.timingKnown);
        if (c.autoSpeedOn) {
            EXPECT_NEAR(1200.0 / m.dotMs, c.keyedWpm, c.keyedWpm * 0.06) << "seed " << seed;
        } else {
            EXPECT_EQ(m.dotMs, 1200.0 / c.formWpm);
        }
    }
}

const char* const cq = "CQ CQ DE F4ABC K";
const char* const paris = "PARIS PARIS PARIS ";
const char* const pangram = "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 0123456789 / . , ? = +";

INSTANTIATE_TEST_SUITE_P(
    FixedSpeed, MorseText,
    testing::Values(TextCase{cq, 12, false, 12, 0, 0.0}, TextCase{cq, 20, false, 20, 0, 0.0},
                    TextCase{cq, 30, false, 30, 0, 0.0}, TextCase{cq, 12, false, 12, 5, 0.1},
                    TextCase{cq, 20, false, 20, 5, 0.1}, TextCase{cq, 30, false, 30, 5, 0.1},
                    TextCase{cq, 20, false, 20, 5, 0.2}, TextCase{"PARIS ", 20, false, 20, 0, 0.0},
                    TextCase{paris, 20, false, 20, 3, 0.15}, TextCase{pangram, 25, false, 25, 5, 0.1},
                    TextCase{cq, 60, false, 60, 2, 0.05}, TextCase{cq, 5, false, 5, 8, 0.1}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    AutoSpeed, MorseText,
    testing::Values(
        // Instant edges, clean and noisy.
        TextCase{cq, 12, true, 18, 0, 0.0}, TextCase{cq, 20, true, 18, 0, 0.0},
        TextCase{cq, 30, true, 18, 0, 0.0}, TextCase{cq, 12, true, 18, 0, 0.15},
        TextCase{cq, 20, true, 18, 0, 0.15}, TextCase{cq, 30, true, 18, 0, 0.15},
        // Ramped edges (a few ms, as the filtered envelope of a keyed tone).
        TextCase{cq, 12, true, 18, 5, 0.1}, TextCase{cq, 20, true, 18, 5, 0.1},
        TextCase{cq, 30, true, 18, 5, 0.1}, TextCase{cq, 12, true, 18, 8, 0.2},
        TextCase{cq, 20, true, 18, 8, 0.2}, TextCase{cq, 30, true, 18, 8, 0.2},
        // The form's speed far from the keyed one.
        TextCase{cq, 12, true, 60, 5, 0.1}, TextCase{cq, 30, true, 5, 5, 0.1},
        // PARIS and every character.
        TextCase{paris, 12, true, 18, 4, 0.1}, TextCase{paris, 20, true, 18, 4, 0.1},
        TextCase{paris, 30, true, 18, 4, 0.1}, TextCase{"PARIS ", 20, true, 18, 4, 0.1},
        TextCase{pangram, 12, true, 18, 5, 0.15}, TextCase{pangram, 20, true, 18, 5, 0.15},
        TextCase{pangram, 30, true, 18, 5, 0.15}, TextCase{pangram, 40, true, 18, 3, 0.1}),
    caseName);

TEST(MorseTextGaps, OneSpacePerWordGapAndNoneBeforeTheFirstCharacter) {
    // 3 s of silence before, long gaps between words, 10 s after.
    std::vector<bool> keys(3000, false);
    for (const char* word : {"E", "T", "EE"}) {
        const auto w = hf_test::keyMorse(word, 20, 0, 4000);
        keys.insert(keys.end(), w.begin(), w.end());
    }
    keys.insert(keys.end(), 10000, false);
    for (const bool autoOn : {true, false}) {
        const std::string out = decode(envelope(keys, 0.05, 3, 0.005, 5), autoOn ? autoSpeed(20) : fixedSpeed(20));
        EXPECT_EQ(out, "E T EE ") << autoOn;
    }
}

TEST(MorseTextGaps, FixedThresholdDecodes) {
    hf::Settings s = fixedSpeed(20);
    s.AutoThreshold = false;
    s.Threshold = -40.0f;
    // Carrier at -26 dBFS, noise well under -40 dBFS.
    const auto x = envelope(hf_test::keyMorse(cq, 20, 600, 2000), 0.05, 5, 0.001, 2);
    EXPECT_EQ(decode(x, s), std::string(cq) + " ");
}

}  // namespace
