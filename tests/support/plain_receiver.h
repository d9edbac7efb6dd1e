#pragma once
// Test helper: the receive chain written the plain way, one sample and one tap
// at a time over rings, std::complex<float> arithmetic throughout, the window
// and the transform's twiddles recomputed every frame. It shares nothing with
// hf::ReceiverDSP but the CW decoder and the records, so that the chain's
// faster arithmetic can be held to it bit for bit.

#include <complex>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "hf/morse.h"
#include "hf/records.h"

namespace hf_test {

// The radix-2 transform computing its twiddles as it goes.
void plainFft(std::vector<std::complex<float>>& a);

class PlainReceiver {
public:
    PlainReceiver();

    void configure(const hf::Settings& s);
    void bytes(const uint8_t* data, std::size_t n);
    // Fed only with finite samples well within full scale.
    void input48(std::complex<float> y, bool shifted);

    const hf::Morse& decoder() const { return decoder_; }
    const std::string& pendingText() const { return pendingText_; }

    std::vector<float> audio;  // every completed block, in order
    std::vector<hf::Frame> frames;

private:
    using Complex = std::complex<float>;

    // A decimating FIR over a ring, real or complex taps.
    template <class Tap>
    struct Ring {
        std::vector<Tap> taps;
        std::vector<Complex> history;
        std::size_t pos = 0;
        int32_t phase = 0;
        int32_t factor = 1;

        void reset(std::vector<Tap> t, int32_t f);
        // Stores x; true with the output in out when a group of factor is complete.
        bool push(Complex x, Complex& out);
    };

    void frame(bool shifted);

    Ring<float> stage1_;
    Ring<float> stage2_;
    Ring<Complex> bandpass_;
    Complex tune960_{1.0f, 0.0f};
    Complex tuneStep960_{1.0f, 0.0f};
    bool configured_ = false;
    std::vector<Complex> wideRing_;
    std::size_t widePos_ = 0;
    hf::Settings settings_;
    Complex shift_{1.0f, 0.0f};
    Complex shiftStep_{0.9969173f, 0.0784591f};
    Complex tune48_{1.0f, 0.0f};
    Complex tuneStep48_{1.0f, 0.0f};
    Complex fmPrevious_{1.0f, 0.0f};
    Complex bfo_{1.0f, 0.0f};
    Complex bfoStep_{1.0f, 0.0f};
    Complex low1_{};
    Complex low2_{};
    hf::Morse decoder_;
    float ramp_ = 0.0f;
    float amCarrier_ = 0.0f;
    float agcPower_ = 0.00001f;
    float envelopeSum_ = 0.0f;
    int32_t envelopeCount_ = 0;
    int32_t renormalise48_ = 0;
    int32_t renormalise960_ = 0;
    int32_t frameCount_ = 0;
    std::vector<Complex> narrowRing_;
    std::size_t narrowPos_ = 0;
    std::vector<float> block_;
    std::string pendingText_;
    double powerSum_ = 0.0;
    int32_t powerCount_ = 0;
};

}  // namespace hf_test
