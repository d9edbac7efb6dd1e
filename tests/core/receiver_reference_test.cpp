// The receive chain against its plain per-sample, per-tap form: every audio
// sample, both spectra, the level, the speed and the CW text of every frame
// must agree to the bit, in every mode, whatever the buffer sizes.

#include <gtest/gtest.h>

#include <algorithm>
#include <complex>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "hf/fft.h"
#include "hf/modes.h"
#include "hf/receiver_dsp.h"
#include "hf/vector_path.h"
#include "tests/support/iq_signal.h"
#include "tests/support/morse_keying.h"
#include "tests/support/plain_receiver.h"
#include "tests/support/recorded_band.h"
#include "tests/support/vector_widths.h"

namespace {

using Complex = std::complex<float>;

constexpr std::size_t signalPairs = 960000 * 3;
// Enough for 18 frames and a renormalisation of the 48 kHz phasors.
constexpr std::size_t shortPairs = 960000 * 3 / 2;

using hf_test::recordedAmAt;
using hf_test::recordedCwAt;
using hf_test::recordedFmAt;
using hf_test::recordedSsbAt;

const std::vector<uint8_t>& recorded() {
    static const std::vector<uint8_t> iq = hf_test::recordedBand(signalPairs, hf_test::keyMorse("CQ CQ", 35.0, 550), 3);
    return iq;
}

// Settings applied before a stretch of pairs.
struct Stretch {
    hf::Settings settings;
    std::size_t pairs;
};

struct Script {
    const char* name;
    std::vector<Stretch> stretches;
    const char* decodes = "";  // text the frames carry, when it matters
};

void PrintTo(const Script& s, std::ostream* os) { *os << s.name; }

// Byte counts the chain is fed in, taken in turn: from a single pair to
// eight dongle buffers, odd counts and ones that end near a frame included.
const std::vector<std::size_t> cycledSizes{2, 3, 40, 39, 41, 4096, 32768, 262144, 1, 0, 7998, 160001, 38, 200};

// Feeds bytes in chunks of the given sizes, in turn, carrying the turn across
// calls.
struct Feeder {
    std::vector<std::size_t> sizes;
    std::size_t turn = 0;

    void feed(hf::ReceiverDSP& dsp, const uint8_t* data, std::size_t n) {
        while (n > 0) {
            const std::size_t chunk = std::min(n, sizes[turn++ % sizes.size()]);
            dsp.bytes(data, chunk);
            // The chain ignores an odd chunk's last byte; it starts the next one.
            const std::size_t used = chunk - chunk % 2;
            data += used;
            n -= used;
        }
    }
};

struct Chain {
    Chain() {
        dsp.onAudio = [this](const std::vector<float>& block) { audio.insert(audio.end(), block.begin(), block.end()); };
        dsp.onFrame = [this](hf::Frame f) { frames.push_back(std::move(f)); };
    }
    hf::ReceiverDSP dsp;
    std::vector<float> audio;
    std::vector<hf::Frame> frames;
};

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

template <class T>
bool sameBits(T a, T b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void expectSame(const Chain& chain, const hf_test::PlainReceiver& plain) {
    ASSERT_EQ(chain.audio.size(), plain.audio.size());
    EXPECT_TRUE(sameBits(chain.audio, plain.audio));
    ASSERT_EQ(chain.frames.size(), plain.frames.size());
    for (std::size_t i = 0; i < plain.frames.size(); ++i) {
        const hf::Frame& got = chain.frames[i];
        const hf::Frame& want = plain.frames[i];
        EXPECT_TRUE(sameBits(got.narrowSpectrum, want.narrowSpectrum)) << "frame " << i;
        EXPECT_TRUE(sameBits(got.wideSpectrum, want.wideSpectrum)) << "frame " << i;
        EXPECT_TRUE(sameBits(got.level, want.level)) << "frame " << i << ": " << got.level << " " << want.level;
        EXPECT_TRUE(sameBits(got.wpm, want.wpm)) << "frame " << i << ": " << got.wpm << " " << want.wpm;
        EXPECT_EQ(got.cwText, want.cwText) << "frame " << i;
        EXPECT_EQ(got.centred, want.centred) << "frame " << i;
    }
}

// The decoder's state where a stretch ends: its levels follow every envelope
// value it was given, so they show any difference in the decoder's input.
struct DecoderState {
    float env, noise, peak;
    double dotMs;
    std::string pattern, pending;
};

DecoderState stateOf(const hf::Morse& m, const std::string& pending) {
    return {m.env, m.noise, m.peak, m.dotMs, m.pattern, pending};
}

void expectSame(const DecoderState& got, const DecoderState& want) {
    EXPECT_TRUE(sameBits(got.env, want.env)) << got.env << " " << want.env;
    EXPECT_TRUE(sameBits(got.noise, want.noise)) << got.noise << " " << want.noise;
    EXPECT_TRUE(sameBits(got.peak, want.peak)) << got.peak << " " << want.peak;
    EXPECT_TRUE(sameBits(got.dotMs, want.dotMs)) << got.dotMs << " " << want.dotMs;
    EXPECT_EQ(got.pattern, want.pattern);
    EXPECT_EQ(got.pending, want.pending);
}

std::string textOf(const std::vector<hf::Frame>& frames) {
    std::string all;
    for (const hf::Frame& f : frames) all += f.cwText;
    return all;
}

class ReferenceChain : public ::testing::TestWithParam<Script> {};

TEST_P(ReferenceChain, AgreesToTheBitWhateverTheBufferSizes) {
    const std::vector<uint8_t>& iq = recorded();
    hf_test::PlainReceiver plain;
    std::vector<DecoderState> decoderAtEnds;
    std::size_t at = 0;
    for (const Stretch& s : GetParam().stretches) {
        plain.configure(s.settings);
        plain.bytes(iq.data() + 2 * at, 2 * s.pairs);
        decoderAtEnds.push_back(stateOf(plain.decoder(), plain.pendingText()));
        at += s.pairs;
    }
    ASSERT_LE(at, signalPairs);
    ASSERT_GE(plain.frames.size(), 18u);
    // The decoder's input and output are compared on real text, not on silence.
    EXPECT_NE(textOf(plain.frames).find(GetParam().decodes), std::string::npos) << textOf(plain.frames);

    const std::vector<std::vector<std::size_t>> feedings{{2}, {262144}, cycledSizes};
    for (const bool wide : hf_test::vectorWidths()) {
        SCOPED_TRACE(hf_test::vectorWidthName(wide));
        const hf_test::VectorWidth width(wide);
        for (const std::vector<std::size_t>& sizes : feedings) {
            SCOPED_TRACE(sizes.size() == 1 ? std::to_string(sizes.front()) + "-byte buffers" : "cycled buffer sizes");
            Chain chain;
            Feeder feeder{sizes};
            at = 0;
            for (std::size_t i = 0; i < GetParam().stretches.size(); ++i) {
                const Stretch& s = GetParam().stretches[i];
                chain.dsp.configure(s.settings);
                feeder.feed(chain.dsp, iq.data() + 2 * at, 2 * s.pairs);
                expectSame(stateOf(chain.dsp.decoder(), chain.dsp.pendingText()), decoderAtEnds[i]);
                at += s.pairs;
            }
            expectSame(chain, plain);
        }
    }
}

hf::Settings changed(hf::Settings s, void (*change)(hf::Settings&)) {
    change(s);
    return s;
}

const hf::Settings cw = hf_test::listeningAt(hf::modeCW, recordedCwAt, 500);

INSTANTIATE_TEST_SUITE_P(
    Modes, ReferenceChain,
    ::testing::Values(Script{"AM", {{hf_test::listeningAt(hf::modeAM, recordedAmAt, 6000), shortPairs}}},
                      Script{"FM", {{hf_test::listeningAt(hf::modeFM, recordedFmAt, 12000), shortPairs}}},
                      Script{"USB", {{hf_test::listeningAt(hf::modeUSB, recordedSsbAt, 2700), shortPairs}}},
                      Script{"LSB", {{hf_test::listeningAt(hf::modeLSB, recordedSsbAt, 2700), shortPairs}}},
                      Script{"CW", {{cw, signalPairs}}, "CQ CQ"},
                      // Changes between buffers: width, threshold, tone, each mode in turn.
                      Script{"Changes",
                             {{hf_test::listeningAt(hf::modeFM, recordedFmAt, 12000), 200000},
                              {hf_test::listeningAt(hf::modeAM, recordedAmAt, 6000), 150001},
                              {hf_test::listeningAt(hf::modeUSB, recordedSsbAt, 2400), 180000},
                              {hf_test::listeningAt(hf::modeLSB, recordedSsbAt, 3000), 90000},
                              {cw, 700000},
                              // The envelope is followed only while decoding:
                              // decoding off and on again, nothing else changed.
                              {changed(cw, [](hf::Settings& s) { s.Decode = false; }), 150000},
                              {cw, 250000},
                              {changed(cw, [](hf::Settings& s) { s.Threshold = -30.0f; }), 100000},
                              {changed(cw, [](hf::Settings& s) { s.Tone = 650; }), 100000},
                              {changed(cw, [](hf::Settings& s) { s.center = 0; }), 100000}}}),
    [](const ::testing::TestParamInfo<Script>& info) { return std::string(info.param.name); });

TEST(ReferenceFft, AgreesToTheBitAtEverySize) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    for (std::size_t n = 1; n <= 4096; n *= 2) {
        std::vector<Complex> a(n);
        for (Complex& x : a) {
            const float re = uniform(random);
            x = {re, uniform(random)};
        }
        std::vector<Complex> want = a;
        hf_test::plainFft(want);
        hf::fft(a);
        EXPECT_EQ(std::memcmp(a.data(), want.data(), n * sizeof(Complex)), 0) << n << " points";
    }
}

// 48 kHz samples given directly, still to be tuned, in CW with decoding.
TEST(ReferenceChainInput48, AgreesToTheBit) {
    hf::Settings s = cw;
    s.center = hf_test::recordedCentre + 1500;
    hf_test::Baseband band = hf_test::keyedCarrier(hf_test::keyMorse("TEST", 30.0, 300), 0.0, 0.3);
    hf_test::addNoise(band, 0.05, 5);
    hf_test::PlainReceiver plain;
    plain.configure(s);
    // Keying laid out at 960 kHz, taken one sample in 20.
    for (std::size_t n = 0; n < band.size(); n += 20) plain.input48(band[n], false);
    ASSERT_GE(plain.frames.size(), 4u);
    for (const bool wide : hf_test::vectorWidths()) {
        SCOPED_TRACE(hf_test::vectorWidthName(wide));
        const hf_test::VectorWidth width(wide);
        Chain chain;
        chain.dsp.configure(s);
        for (std::size_t n = 0; n < band.size(); n += 20) chain.dsp.input48(band[n], false);
        expectSame(chain, plain);
        expectSame(stateOf(chain.dsp.decoder(), chain.dsp.pendingText()), stateOf(plain.decoder(), plain.pendingText()));
    }
}

}  // namespace
