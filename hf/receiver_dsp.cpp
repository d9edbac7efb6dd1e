#include "hf/receiver_dsp.h"

#include "hf/modes.h"
#include "hf/passband.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

#include "hf/audio_blocks.h"
#include "hf/fft.h"
#include "hf/lowpass.h"

namespace hf {

namespace {

using Complex = std::complex<float>;

constexpr double pi = std::numbers::pi;
constexpr std::size_t ringLength = 4096;
constexpr int32_t samplesPerFrame = 4000;
constexpr int32_t pairsPer48k = 20;
constexpr int32_t renormalisePeriod48 = 48000;
constexpr float initialAgcPower = 0.00001f;
constexpr int32_t minBandwidth = 100;
constexpr int32_t maxBandwidth = 15000;
// Bounds the work buffers; any size gives the same results.
constexpr std::size_t maxBatchPairs = 8192;
// Far above full scale (1), and far enough below the float range that no
// filter sum, power or envelope of the chain can overflow.
constexpr float largestInputPart = 1e6f;

// Byte b stands for (b − 127.5) × 0.0078125, so full scale is ±1.
const std::array<float, 256> byteLevels = [] {
    std::array<float, 256> levels{};
    for (int b = 0; b < 256; ++b) levels[static_cast<std::size_t>(b)] = (static_cast<float>(b) - 127.5f) * 0.0078125f;
    return levels;
}();

// e^(j 2π hz / rate), the angle rounded to float first.
Complex phasorStep(double hz, double rate) {
    const auto angle = static_cast<float>(2.0 * pi * hz / rate);
    return {std::cos(angle), std::sin(angle)};
}

Complex unitMagnitude(Complex phasor) { return phasor / std::max(std::abs(phasor), 0.00001f); }

// A complex value as two floats, which the compiler keeps in registers over a
// loop where a std::complex<float> would go through memory.
struct Parts {
    float re;
    float im;
};

Parts parts(Complex z) { return {z.real(), z.imag()}; }
Complex complex(Parts z) { return {z.re, z.im}; }

// The product as std::complex<float> forms it for finite values.
Parts times(Parts a, Parts b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }

// A sample from outside the dongle's bytes may be anything; a non-finite one
// would stay in the carrier, gain and filter state for good, so it counts as 0.
Complex admissible(Complex z) {
    const auto part = [](float v) {
        return std::isfinite(v) ? std::clamp(v, -largestInputPart, largestInputPart) : 0.0f;
    };
    return {part(z.real()), part(z.imag())};
}

bool decoderInputsDiffer(const Settings& a, const Settings& b) {
    return a.Frequency != b.Frequency || a.center != b.center || a.Mode != b.Mode ||
           a.Bandwidth != b.Bandwidth || a.Tone != b.Tone || a.WPM != b.WPM ||
           a.AutoSpeed != b.AutoSpeed || a.Decode != b.Decode;
}

}  // namespace

ReceiverDSP::Spectra::Spectra() : transform(ringLength), window(ringLength), re(ringLength), im(ringLength) {
    double sum = 0.0;
    for (std::size_t i = 0; i < ringLength; ++i) {
        const auto angle = static_cast<float>(2.0 * pi * static_cast<double>(i) / 4095.0);
        window[i] = 0.5f - 0.5f * std::cos(angle);
        sum += window[i];
    }
    windowSum = static_cast<float>(sum);
}

// dB of the ring's transform, oldest sample first, 0 Hz in the middle bin.
std::vector<float> ReceiverDSP::Spectra::of(const std::vector<Complex>& ring, std::size_t oldest) {
    for (std::size_t i = 0; i < ringLength; ++i) {
        const Complex z = ring[(oldest + i) % ringLength];
        re[i] = z.real() * window[i];
        im[i] = z.imag() * window[i];
    }
    transform.transform(re.data(), im.data());
    // In passes, so that the library calls of neighbouring bins overlap.
    std::vector<float> db(ringLength);
    for (std::size_t j = 0; j < ringLength; ++j) {
        const std::size_t bin = (j + ringLength / 2) % ringLength;
        db[j] = std::abs(Complex(re[bin], im[bin]));
    }
    for (float& v : db) v = std::max(v / windowSum, 1e-8f);
    for (float& v : db) v = 20.0f * std::log10(v);
    return db;
}

ReceiverDSP::ReceiverDSP()
    : stage1_(lowPassTaps(101, 65000.0, 960000.0)),
      stage2_(lowPassTaps(129, 19000.0, 192000.0)),
      wideRing_(ringLength),
      agcPower_(initialAgcPower),
      narrowRing_(ringLength) {
    audioBlock_.reserve(audioBlockSize);
    configure(Settings{});
}

void ReceiverDSP::configure(const Settings& s) {
    // A width outside the form's range would leave the band-pass without a
    // passband (no taps to normalise) or wider than the 48 kHz stream.
    Settings next = s;
    next.Bandwidth = std::clamp(s.Bandwidth, minBandwidth, maxBandwidth);

    const bool first = !configured_;
    const bool modeChanged = next.Mode != settings_.Mode;
    const bool redesign = first || modeChanged || next.Bandwidth != settings_.Bandwidth;
    const bool resetDecoder = first || decoderInputsDiffer(next, settings_);
    settings_ = next;

    const int64_t delta = settings_.center != 0
                              ? static_cast<int64_t>(settings_.center) - static_cast<int64_t>(settings_.Frequency)
                              : 0;
    tuneStep48_ = phasorStep(static_cast<double>(delta), 48000.0);
    tuneStep960_ = phasorStep(static_cast<double>(delta), 960000.0);

    if (redesign) {
        const Passband band = passband(settings_.Mode, settings_.Bandwidth);
        bandpass_.configure(band.lo, band.hi);
    }
    bfoStep_ = phasorStep(settings_.Tone, 48000.0);

    if (resetDecoder) {
        decoder_.reset(settings_.WPM);
        pendingText_.clear();
        envelopeSum_ = 0.0f;
        envelopeCount_ = 0;
        envelopeLow1_ = {};
        envelopeLow2_ = {};
    }
    // FM leaves the tracked power at the discriminator's level, which would
    // hold any other mode near silence for seconds.
    if (!first && modeChanged) agcPower_ = initialAgcPower;
    configured_ = true;
}

void ReceiverDSP::bytes(const uint8_t* data, std::size_t n) {
    std::size_t pairs = n / 2;
    // Batches end where a frame is due, so that the wide ring holds exactly
    // the pairs up to the frame's sample.
    while (pairs > 0) {
        const std::size_t batch = std::min({pairs, pairsUntilFrame(), maxBatchPairs});
        frontEnd(data, batch);
        listenToDecimated();
        data += 2 * batch;
        pairs -= batch;
    }
}

// Pairs up to and including the one whose 48 kHz sample completes a frame:
// the rest of the current group of 5, the stage-2 group's missing groups of
// 5, then 20 pairs for every further 48 kHz sample.
std::size_t ReceiverDSP::pairsUntilFrame() const {
    const auto toNext48k = static_cast<std::size_t>((5 - stage1_.phase()) + 5 * (3 - stage2_.phase()));
    return toNext48k + static_cast<std::size_t>(pairsPer48k) * static_cast<std::size_t>(samplesPerFrame - frameCount_ - 1);
}

void ReceiverDSP::frontEnd(const uint8_t* data, std::size_t pairs) {
    // The phasors, the ring's position and the count are held in locals over
    // the batch.
    Parts shift = parts(shift_);
    const Parts shiftStep = parts(shiftStep_);
    Parts tune = parts(tune960_);
    const Parts tuneStep = parts(tuneStep960_);
    Complex* const ring = wideRing_.data();
    std::size_t ringPos = widePos_;
    int32_t count = renormalise960_;
    stage1_.push(pairs, [&] {
        const Parts z = times({byteLevels[data[0]], byteLevels[data[1]]}, shift);
        data += 2;
        shift = times(shift, shiftStep);
        if (++count == 9600) {
            Complex renormalised = complex(shift);
            renormalised /= std::abs(renormalised);
            shift = parts(renormalised);
            tune = parts(unitMagnitude(complex(tune)));
            count = 0;
        }
        ring[ringPos] = complex(z);
        ringPos = (ringPos + 1) % ringLength;
        const Parts tuned = times(z, tune);
        tune = times(tune, tuneStep);
        return complex(tuned);
    });
    shift_ = complex(shift);
    tune960_ = complex(tune);
    widePos_ = ringPos;
    renormalise960_ = count;
}

void ReceiverDSP::listenToDecimated() {
    stage1_.drain(at192_);
    stage2_.push(at192_);
    stage2_.drain(at48_);
    if (at48_.empty()) return;
    for (const Complex& y : at48_) storeNarrow(y);
    bandpass_.filter(at48_, filtered48_);
    listen(filtered48_.data(), filtered48_.size(), true);
}

void ReceiverDSP::input48(Complex sample, bool shifted) {
    sample = admissible(sample);
    storeNarrow(sample);
    if (!shifted) sample *= tune48_;
    const Complex y = bandpass_.filter(sample);
    listen(&y, 1, shifted);
}

void ReceiverDSP::storeNarrow(Complex y) {
    narrowRing_[narrowPos_] = y;
    narrowPos_ = (narrowPos_ + 1) % ringLength;
}

// The 48 kHz stage a pass at a time over runs that end where a frame is due
// or the phasors are renormalised, so that within a run every sample is
// treated alike; each pass keeps its state in locals.
void ReceiverDSP::listen(const Complex* y, std::size_t n, bool shifted) {
    while (n > 0) {
        const auto run = std::min({n, static_cast<std::size_t>(samplesPerFrame - frameCount_),
                                   static_cast<std::size_t>(renormalisePeriod48 - renormalise48_)});
        stepTune48(run);
        measurePower(y, run);
        demodulate(y, run);
        if (settings_.Mode == modeCW && settings_.Decode) followEnvelope(y, run);
        emitAudio(run);
        y += run;
        n -= run;
        frameCount_ += static_cast<int32_t>(run);
        if (frameCount_ == samplesPerFrame) {
            frameCount_ = 0;
            emitFrame(shifted);
        }
        renormalise48_ += static_cast<int32_t>(run);
        if (renormalise48_ == renormalisePeriod48) {
            renormalise48_ = 0;
            tune48_ = unitMagnitude(tune48_);
            bfo_ = unitMagnitude(bfo_);
        }
    }
}

void ReceiverDSP::stepTune48(std::size_t n) {
    Complex tune = tune48_;
    for (std::size_t i = 0; i < n; ++i) tune *= tuneStep48_;
    tune48_ = tune;
}

void ReceiverDSP::measurePower(const Complex* y, std::size_t n) {
    double sum = powerSum_;
    for (std::size_t i = 0; i < n; ++i) sum += std::norm(std::complex<double>(y[i]));
    powerSum_ = sum;
    powerCount_ += static_cast<int32_t>(n);
}

void ReceiverDSP::demodulate(const Complex* y, std::size_t n) {
    demodulated_.resize(n);
    float* s = demodulated_.data();
    switch (settings_.Mode) {
    case modeAM: {
        float carrier = amCarrier_;
        for (std::size_t i = 0; i < n; ++i) {
            const float a = std::abs(y[i]);
            carrier += 0.001f * (a - carrier);
            s[i] = a - carrier;
        }
        amCarrier_ = carrier;
        break;
    }
    case modeFM: {
        Complex previous = fmPrevious_;
        for (std::size_t i = 0; i < n; ++i) {
            const Complex d = y[i] * std::conj(previous);
            previous = y[i];
            // 2500 Hz of deviation gives 1.0.
            s[i] = std::atan2(d.imag(), d.real()) * 3.055775f;
        }
        fmPrevious_ = previous;
        break;
    }
    case modeCW: {
        Complex bfo = bfo_;
        for (std::size_t i = 0; i < n; ++i) {
            s[i] = (y[i] * bfo).real();
            bfo *= bfoStep_;
        }
        bfo_ = bfo;
        break;
    }
    default:
        for (std::size_t i = 0; i < n; ++i) s[i] = y[i].real();
    }
}

// Only decoding reads the envelope, and whatever starts decoding also resets
// it, so it is followed only while the decoder is fed.
void ReceiverDSP::followEnvelope(const Complex* y, std::size_t n) {
    Complex low1 = envelopeLow1_;
    Complex low2 = envelopeLow2_;
    float sum = envelopeSum_;
    int32_t count = envelopeCount_;
    for (std::size_t i = 0; i < n; ++i) {
        low1 += 0.010417f * (y[i] - low1);
        low2 += 0.010417f * (low1 - low2);
        sum += std::abs(low2);
        if (++count < 48) continue;
        pendingText_ += decoder_.tick(sum / 48.0f, settings_);
        sum = 0.0f;
        count = 0;
    }
    envelopeLow1_ = low1;
    envelopeLow2_ = low2;
    envelopeSum_ = sum;
    envelopeCount_ = count;
}

// Automatic gain (fast attack, slow decay) and the fade-in of a new chain,
// the block handed over whenever it is full.
void ReceiverDSP::emitAudio(std::size_t n) {
    const float* s = demodulated_.data();
    const bool fm = settings_.Mode == modeFM;
    float power = agcPower_;
    float fade = fadeIn_;
    for (std::size_t i = 0; i < n; ++i) {
        const float e = s[i] * s[i];
        power += (e - power) * (e > power ? 0.015f : 0.00004f);
        float gain = 0.5f;
        if (!fm) gain = power > 1e-10f ? std::min(0.18f / std::sqrt(power), 1500.0f) : 1500.0f;
        fade = std::min(1.0f, fade + 0.004166667f);
        audioBlock_.push_back(std::clamp(s[i] * gain, -0.95f, 0.95f) * fade);
        if (audioBlock_.size() < audioBlockSize) continue;
        // The callback may throw: the gain and the fade-in it leaves are those
        // after this sample (the rest of the chain has already taken the run).
        agcPower_ = power;
        fadeIn_ = fade;
        if (onAudio) onAudio(audioBlock_);
        audioBlock_.clear();
    }
    agcPower_ = power;
    fadeIn_ = fade;
}

void ReceiverDSP::emitFrame(bool shifted) {
    Frame frame;
    frame.centred = shifted;
    frame.narrowSpectrum = spectra_.of(narrowRing_, narrowPos_);
    frame.wideSpectrum = spectra_.of(wideRing_, widePos_);
    frame.level = static_cast<float>(10.0 * std::log10(std::max(powerSum_ / std::max(powerCount_, 1), 1e-12)));
    powerSum_ = 0.0;
    powerCount_ = 0;
    frame.wpm = 1200.0 / decoder_.dotMs;
    frame.cwText = std::exchange(pendingText_, std::string());
    if (onFrame) onFrame(std::move(frame));
}

}  // namespace hf
