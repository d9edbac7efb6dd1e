#include "app/dongle_settings.h"

#include "app/rules/receiver_messages.h"
#include "app/rules/reception_rules.h"
#include "platform/check.h"

#include <vector>

namespace {

// The library answers -2 when the correction is already the one asked for.
constexpr int correctionUnchanged = -2;
constexpr int mostTunerGains = 127;

}  // namespace

void endIfStopRequested(const App& app) {
    if (app.stopRequested) throw StoppedBetweenCalls{};
}

void DongleSettings::operator()(const hf::Settings& next, const hf::Settings* previous) const {
    const Rtl& rtl = *app_->rtl;
    rtlsdr_dev_t* const handle = *handle_;
    const app::DongleCalls calls = app::dongleCalls(*dongle_, next, previous);
    if (calls.samplingMode) {
        endIfStopRequested(*app_);
        check(rtl.set_direct_sampling(handle, static_cast<int>(calls.mode)) == 0, app::samplingModeRefused);
    }
    if (calls.correction) {
        endIfStopRequested(*app_);
        const int result = rtl.set_freq_correction(handle, next.PPM);
        check(result == 0 || result == correctionUnchanged, app::correctionRefused);
    }
    if (calls.centre) {
        endIfStopRequested(*app_);
        check(rtl.set_center_freq(handle, app::tunerFrequency(next)) == 0, app::frequencyRefused);
    }
    if (calls.gainMode) {
        endIfStopRequested(*app_);
        check(rtl.set_tuner_gain_mode(handle, next.RFAuto ? 0 : 1) == 0, app::gainModeRefused);
    }
    if (calls.gainChoice) chooseGain(next.Gain);
}

void DongleSettings::chooseGain(int32_t wanted) const {
    const Rtl& rtl = *app_->rtl;
    rtlsdr_dev_t* const handle = *handle_;
    endIfStopRequested(*app_);
    const int count = rtl.get_tuner_gains(handle, nullptr);
    check(count >= 1 && count <= mostTunerGains, app::gainListInvalid);
    // The list starts zeroed and has room for the whole count, so whatever
    // the second call fills and answers, the choice reads only known values.
    std::vector<int> gains(static_cast<std::size_t>(count));
    endIfStopRequested(*app_);
    rtl.get_tuner_gains(handle, gains.data());
    endIfStopRequested(*app_);
    check(rtl.set_tuner_gain(handle, app::nearestGain(gains, wanted)) == 0, app::gainRefused);
}
