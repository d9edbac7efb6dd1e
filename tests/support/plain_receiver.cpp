#include "tests/support/plain_receiver.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace hf_test {

namespace {

using Complex = std::complex<float>;

constexpr double pi = std::numbers::pi;
constexpr std::size_t ringLength = 4096;

// Blackman-windowed sinc, designed in double, stored as float, divided by the
// float of the double sum.
std::vector<float> lowPass(int count, double cutoff, double rate) {
    const int span = count - 1;
    std::vector<float> taps;
    double sum = 0.0;
    for (int k = 0; k < count; ++k) {
        const int i = k - span / 2;
        const double w = 0.42 - 0.5 * std::cos(2.0 * pi * k / span) + 0.08 * std::cos(4.0 * pi * k / span);
        const double h = i == 0 ? w * 2.0 * cutoff / rate : w * std::sin(2.0 * pi * cutoff * i / rate) / (pi * i);
        taps.push_back(static_cast<float>(h));
        sum += h;
    }
    const auto s = static_cast<float>(sum);
    for (float& t : taps) t = t / s;
    return taps;
}

std::vector<Complex> bandPass(double lo, double hi) {
    const std::vector<float> h = lowPass(513, (hi - lo) / 2.0, 48000.0);
    const double fc = (lo + hi) / 2.0;
    std::vector<Complex> taps;
    for (int k = 0; k < 513; ++k) {
        const int m = k - 256;
        const auto theta = static_cast<float>(2.0 * pi * fc * m / 48000.0);
        taps.push_back(h[static_cast<std::size_t>(k)] * Complex(std::cos(theta), std::sin(theta)));
    }
    return taps;
}

Complex step(double hz, double rate) {
    const auto angle = static_cast<float>(2.0 * pi * hz / rate);
    return {std::cos(angle), std::sin(angle)};
}

}  // namespace

void plainFft(std::vector<Complex>& a) {
    const std::size_t n = a.size();
    std::size_t j = 0;
    for (std::size_t i = 1; i < n; ++i) {
        std::size_t bit = n / 2;
        while (j & bit) {
            j &= ~bit;
            bit /= 2;
        }
        j |= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len *= 2) {
        const auto phi = static_cast<float>(-2.0 * pi / static_cast<double>(len));
        const Complex wlen(std::cos(phi), std::sin(phi));
        for (std::size_t s = 0; s < n; s += len) {
            Complex w(1.0f, 0.0f);
            for (std::size_t k = 0; k < len / 2; ++k) {
                const Complex u = a[s + k];
                const Complex v = a[s + k + len / 2] * w;
                a[s + k] = u + v;
                a[s + k + len / 2] = u - v;
                w = w * wlen;
            }
        }
    }
}

namespace {

std::vector<float> spectrum(const std::vector<Complex>& ring, std::size_t pos) {
    std::vector<float> w(ringLength);
    double sum = 0.0;
    for (std::size_t i = 0; i < ringLength; ++i) {
        const auto angle = static_cast<float>(2.0 * pi * static_cast<double>(i) / 4095.0);
        w[i] = 0.5f - 0.5f * std::cos(angle);
        sum += w[i];
    }
    const auto W = static_cast<float>(sum);
    std::vector<Complex> b(ringLength);
    for (std::size_t i = 0; i < ringLength; ++i) b[i] = ring[(pos + i) % ringLength] * w[i];
    plainFft(b);
    std::vector<float> db(ringLength);
    for (std::size_t j = 0; j < ringLength; ++j)
        db[j] = 20.0f * std::log10(std::max(std::abs(b[(j + 2048) % ringLength]) / W, 1e-8f));
    return db;
}

}  // namespace

template <class Tap>
void PlainReceiver::Ring<Tap>::reset(std::vector<Tap> t, int32_t f) {
    taps = std::move(t);
    history.assign(taps.size(), Complex{});
    pos = 0;
    phase = 0;
    factor = f;
}

template <class Tap>
bool PlainReceiver::Ring<Tap>::push(Complex x, Complex& out) {
    const std::size_t len = history.size();
    const std::size_t newest = pos;
    history[newest] = x;
    pos = (newest + 1) % len;
    if (++phase < factor) return false;
    phase = 0;
    Complex sum{};
    for (std::size_t j = 0; j < len; ++j) sum += taps[j] * history[(newest + len - j) % len];
    out = sum;
    return true;
}

PlainReceiver::PlainReceiver() : wideRing_(ringLength), narrowRing_(ringLength) {
    stage1_.reset(lowPass(101, 65000.0, 960000.0), 5);
    stage2_.reset(lowPass(129, 19000.0, 192000.0), 4);
    configure(hf::Settings{});
}

void PlainReceiver::configure(const hf::Settings& in) {
    hf::Settings s = in;
    s.Bandwidth = std::clamp(s.Bandwidth, 100, 15000);
    const bool first = !configured_;
    const bool modeChanged = s.Mode != settings_.Mode;
    const bool redesign = first || modeChanged || s.Bandwidth != settings_.Bandwidth;
    const bool reset = first || s.Frequency != settings_.Frequency || s.center != settings_.center || modeChanged ||
                       s.Bandwidth != settings_.Bandwidth || s.Tone != settings_.Tone || s.WPM != settings_.WPM ||
                       s.AutoSpeed != settings_.AutoSpeed || s.Decode != settings_.Decode;
    settings_ = s;
    const double delta = s.center != 0 ? static_cast<double>(int64_t{s.center} - int64_t{s.Frequency}) : 0.0;
    tuneStep48_ = step(delta, 48000.0);
    tuneStep960_ = step(delta, 960000.0);
    if (redesign) {
        const double w = s.Bandwidth;
        double lo = -static_cast<double>(s.Bandwidth / 2);
        double hi = static_cast<double>(s.Bandwidth / 2);
        if (s.Mode == 2) lo = 150.0, hi = 150.0 + w;
        if (s.Mode == 3) lo = -w - 150.0, hi = -150.0;
        bandpass_.reset(bandPass(lo, hi), 1);
    }
    bfoStep_ = step(s.Tone, 48000.0);
    if (reset) {
        decoder_.reset(s.WPM);
        pendingText_.clear();
        envelopeSum_ = 0.0f;
        envelopeCount_ = 0;
        low1_ = {};
        low2_ = {};
    }
    // Leaving FM restarts the gain tracking.
    if (!first && modeChanged) agcPower_ = 0.00001f;
    configured_ = true;
}

void PlainReceiver::bytes(const uint8_t* data, std::size_t n) {
    for (std::size_t p = 0; p < n / 2; ++p) {
        const float i = (static_cast<float>(data[2 * p]) - 127.5f) * 0.0078125f;
        const float q = (static_cast<float>(data[2 * p + 1]) - 127.5f) * 0.0078125f;
        Complex z(i, q);
        z = z * shift_;
        shift_ = shift_ * shiftStep_;
        if (++renormalise960_ == 9600) {
            shift_ = shift_ / std::abs(shift_);
            tune960_ = tune960_ / std::max(std::abs(tune960_), 0.00001f);
            renormalise960_ = 0;
        }
        wideRing_[widePos_] = z;
        widePos_ = (widePos_ + 1) % ringLength;
        z = z * tune960_;
        tune960_ = tune960_ * tuneStep960_;
        Complex v;
        Complex u;
        if (stage1_.push(z, v) && stage2_.push(v, u)) input48(u, true);
    }
}

void PlainReceiver::input48(Complex y, bool shifted) {
    narrowRing_[narrowPos_] = y;
    narrowPos_ = (narrowPos_ + 1) % ringLength;
    if (!shifted) y = y * tune48_;
    bandpass_.push(y, y);
    tune48_ = tune48_ * tuneStep48_;
    ++powerCount_;
    const double re = y.real();
    const double im = y.imag();
    powerSum_ += re * re + im * im;

    float s;
    switch (settings_.Mode) {
    case 0: {
        const float a = std::abs(y);
        amCarrier_ += 0.001f * (a - amCarrier_);
        s = a - amCarrier_;
        break;
    }
    case 1: {
        const Complex d = y * std::conj(fmPrevious_);
        s = std::atan2(d.imag(), d.real()) * 3.055775f;
        fmPrevious_ = y;
        break;
    }
    case 4:
        s = (y * bfo_).real();
        bfo_ = bfo_ * bfoStep_;
        break;
    default: s = y.real();
    }

    low1_ += 0.010417f * (y - low1_);
    low2_ += 0.010417f * (low1_ - low2_);
    envelopeSum_ += std::abs(low2_);
    if (++envelopeCount_ == 48) {
        if (settings_.Mode == 4 && settings_.Decode) pendingText_ += decoder_.tick(envelopeSum_ / 48.0f, settings_);
        envelopeSum_ = 0.0f;
        envelopeCount_ = 0;
    }

    const float e = s * s;
    agcPower_ += (e - agcPower_) * (e > agcPower_ ? 0.015f : 0.00004f);
    float g = 0.5f;
    if (settings_.Mode != 1) g = agcPower_ > 1e-10f ? std::min(0.18f / std::sqrt(agcPower_), 1500.0f) : 1500.0f;
    ramp_ = std::min(1.0f, ramp_ + 0.004166667f);
    block_.push_back(std::clamp(s * g, -0.95f, 0.95f) * ramp_);
    if (block_.size() == 2048) {
        audio.insert(audio.end(), block_.begin(), block_.end());
        block_.clear();
    }
    if (++frameCount_ == 4000) {
        frameCount_ = 0;
        frame(shifted);
    }
    if (++renormalise48_ == 48000) {
        renormalise48_ = 0;
        tune48_ = tune48_ / std::max(std::abs(tune48_), 0.00001f);
        bfo_ = bfo_ / std::max(std::abs(bfo_), 0.00001f);
    }
}

void PlainReceiver::frame(bool shifted) {
    hf::Frame f;
    f.centred = shifted;
    f.narrowSpectrum = spectrum(narrowRing_, narrowPos_);
    f.wideSpectrum = spectrum(wideRing_, widePos_);
    f.level = static_cast<float>(10.0 * std::log10(std::max(powerSum_ / std::max(powerCount_, 1), 1e-12)));
    powerSum_ = 0.0;
    powerCount_ = 0;
    f.wpm = 1200.0 / decoder_.dotMs;
    f.cwText = std::exchange(pendingText_, std::string());
    frames.push_back(std::move(f));
}

}  // namespace hf_test
