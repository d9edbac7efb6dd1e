#pragma once
// The receive chain: 8-bit I/Q at 960 kHz in; 48 kHz audio blocks of 2048
// samples and 12 display frames a second out, in AM, FM, USB, LSB or CW, with
// the CW decoder fed from the filtered signal's envelope.

#include <complex>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hf/bandpass.h"
#include "hf/fft.h"
#include "hf/fir.h"
#include "hf/morse.h"
#include "hf/records.h"

namespace hf {

class ReceiverDSP {
public:
    ReceiverDSP();

    // Applies settings in place. A change of mode or width redesigns the
    // band-pass; a change of anything the decoder depends on resets it.
    void configure(const Settings& s);

    // n bytes of interleaved I/Q, I first; an odd last byte is ignored.
    void bytes(const uint8_t* data, std::size_t n);

    // One 48 kHz sample; shifted tells that it is already tuned to the listen
    // frequency. A non-finite part counts as 0, and a part beyond ±1e6 is
    // clamped there.
    void input48(std::complex<float> sample, bool shifted);

    // Called with exactly 2048 samples; the reference lives only for the call.
    std::function<void(const std::vector<float>&)> onAudio;
    std::function<void(Frame)> onFrame;

    const Settings& settings() const { return settings_; }
    const Morse& decoder() const { return decoder_; }
    const std::string& pendingText() const { return pendingText_; }

private:
    using Complex = std::complex<float>;

    void frontEnd(const uint8_t* data, std::size_t pairs);
    void listenToDecimated();
    std::size_t pairsUntilFrame() const;
    void storeNarrow(Complex y);
    void listen(const Complex* y, std::size_t n, bool shifted);
    void stepTune48(std::size_t n);
    void measurePower(const Complex* y, std::size_t n);
    void demodulate(const Complex* y, std::size_t n);
    void followEnvelope(const Complex* y, std::size_t n);
    void emitAudio(std::size_t n);
    void emitFrame(bool shifted);

    // The frames' spectra: a Hann window over the 4096 samples of a ring,
    // worked out once with its sum, and the transform.
    struct Spectra {
        Spectra();
        std::vector<float> of(const std::vector<Complex>& ring, std::size_t oldest);

        Fft transform;
        std::vector<float> window;
        float windowSum = 0.0f;
        std::vector<float> re;
        std::vector<float> im;
    };

    FirFilter<float, 5> stage1_;
    FirFilter<float, 4> stage2_;
    Bandpass bandpass_;
    Complex tune960_{1.0f, 0.0f};
    Complex tuneStep960_{1.0f, 0.0f};
    bool configured_ = false;
    std::vector<Complex> wideRing_;
    std::size_t widePos_ = 0;
    Settings settings_;
    Complex shift_{1.0f, 0.0f};
    Complex shiftStep_{0.9969173f, 0.0784591f};
    Complex tune48_{1.0f, 0.0f};
    Complex tuneStep48_{1.0f, 0.0f};
    Complex fmPrevious_{1.0f, 0.0f};
    Complex bfo_{1.0f, 0.0f};
    Complex bfoStep_{1.0f, 0.0f};
    Complex envelopeLow1_{};
    Complex envelopeLow2_{};
    Morse decoder_;
    float fadeIn_ = 0.0f;
    float amCarrier_ = 0.0f;
    float agcPower_;
    float envelopeSum_ = 0.0f;
    int32_t envelopeCount_ = 0;
    int32_t renormalise48_ = 0;
    int32_t renormalise960_ = 0;
    int32_t frameCount_ = 0;
    std::vector<Complex> narrowRing_;
    std::size_t narrowPos_ = 0;
    std::vector<float> audioBlock_;
    std::string pendingText_;
    double powerSum_ = 0.0;
    int32_t powerCount_ = 0;

    Spectra spectra_;

    // Per-batch work buffers, kept to avoid allocating per call.
    std::vector<Complex> at192_;
    std::vector<Complex> at48_;
    std::vector<Complex> filtered48_;
    std::vector<float> demodulated_;
};

}  // namespace hf
