// The library's entry points, with the C interface and the platform's standard
// calling convention that the application's binding expects. Every call is
// logged with its arguments and its result; breaches of the application's
// contract are logged as violations and refused.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include <windows.h>

#include "standin/reader.h"
#include "standin/standin.h"

#define RTLSDR_API extern "C" __declspec(dllexport)

// What the application holds: the address of an OpenDongle, looked up before use.
struct rtlsdr_dev;

namespace {

constexpr size_t stringBuffer = 256;  // the size of the application's string buffers

// Copies at most the whole buffer: a string of 256 bytes or more leaves no
// room for the terminator, as a faulty library's would.
void fill(char* buffer, const std::string& text) {
    const size_t length = std::min(text.size(), stringBuffer);
    std::memcpy(buffer, text.data(), length);
    if (length < stringBuffer) buffer[length] = '\0';
}

std::string handleName(const std::shared_ptr<OpenDongle>& dongle, const rtlsdr_dev* handle) {
    if (dongle) return dongle->label();
    return handle == nullptr ? "null" : "unknown";
}

enum class Effect { Query, Setting, Reset };

// A call on an open handle: looked up, checked against a running read, failed
// when the configuration refuses it, and logged.
template <typename Action>
int onOpen(const char* entryPoint, rtlsdr_dev* handle, const std::string& arguments, Effect effect, Action action) {
    Standin& library = standin();
    const auto dongle = library.dongles.find(handle);
    const std::string call = std::string("rtlsdr_") + entryPoint + "(" + handleName(dongle, handle) +
                             (arguments.empty() ? "" : ", " + arguments) + ")";
    if (!dongle) {
        library.log.violation(call + " without an open handle");
        return -1;
    }
    if (dongle->reading.load()) {
        const bool fromCallback = dongle->readerThread.load() == GetCurrentThreadId();
        library.log.violation(call + " while rtlsdr_read_async runs, from " +
                              (fromCallback ? "its callback" : "another thread"));
        library.log.line(call + " = -1");
        return -1;
    }
    if (const uint32_t delay = dongle->spec.delayOf(entryPoint); delay > 0) Sleep(delay);
    const int result = dongle->spec.refuses(entryPoint) ? -1 : action(*dongle);
    if (result == 0 && effect == Effect::Setting) dongle->resetSinceChange = false;
    if (result == 0 && effect == Effect::Reset) dongle->resetSinceChange = true;
    library.log.line(call + " = " + std::to_string(result));
    return result;
}

int setFlag(rtlsdr_dev* handle, const char* entryPoint, int on, bool OpenDongle::*flag) {
    return onOpen(entryPoint, handle, std::to_string(on), Effect::Setting, [&](OpenDongle& d) {
        d.*flag = on != 0;
        return 0;
    });
}

}  // namespace

RTLSDR_API uint32_t rtlsdr_get_device_count(void) {
    Standin& library = standin();
    if (library.config.enumerationDelayMs > 0) Sleep(library.config.enumerationDelayMs);
    const auto count = uint32_t(library.config.dongles.size());
    library.log.line("rtlsdr_get_device_count() = " + std::to_string(count));
    return count;
}

RTLSDR_API int rtlsdr_get_device_usb_strings(uint32_t index, char* manufacturer, char* product, char* serial) {
    Standin& library = standin();
    const auto& dongles = library.config.dongles;
    int result = -1;
    if (manufacturer != nullptr && product != nullptr && serial != nullptr && index < dongles.size() &&
        !dongles[index].refuses("get_device_usb_strings")) {
        fill(manufacturer, dongles[index].manufacturer);
        fill(product, dongles[index].product);
        fill(serial, dongles[index].serial);
        result = 0;
    }
    library.log.line("rtlsdr_get_device_usb_strings(" + std::to_string(index) + ") = " + std::to_string(result));
    return result;
}

#ifndef HF_STANDIN_WITHOUT_OPEN_IDENTITY
namespace {

std::string quoted(const char* text) {
    if (text == nullptr) return "null";
    std::string shown(text, strnlen(text, stringBuffer));
    std::replace_if(shown.begin(), shown.end(), [](char c) { return c >= 0 && c < ' '; }, '?');  // one log line
    return "\"" + shown + "\"";
}

}  // namespace

RTLSDR_API int rtlsdr_open_identity(rtlsdr_dev** out, uint32_t index, const char* manufacturer, const char* product,
                                    const char* serial) {
    Standin& library = standin();
    const std::string call = "rtlsdr_open_identity(" + std::to_string(index) + ", " + quoted(manufacturer) + ", " +
                             quoted(product) + ", " + quoted(serial) + ")";
    if (out == nullptr) {
        library.log.line(call + " = -1 (no place for the handle)");
        return -1;
    }
    *out = nullptr;
    std::string refusal;
    const auto dongle = library.dongles.open(index, manufacturer, product, serial, refusal);
    if (!dongle) {
        library.log.line(call + " = -1 (" + refusal + ")");
        return -1;
    }
    if (const uint32_t delay = dongle->spec.delayOf("open_identity"); delay > 0) Sleep(delay);
    *out = reinterpret_cast<rtlsdr_dev*>(dongle.get());
    library.log.line(call + " = 0 " + dongle->label());
    return 0;
}
#endif

RTLSDR_API int rtlsdr_close(rtlsdr_dev* dev) {
    return onOpen("close", dev, "", Effect::Query, [&](OpenDongle& d) {
        if (d.spec.closeDelayMs > 0) Sleep(d.spec.closeDelayMs);
        standin().dongles.forget(dev);
        return 0;
    });
}

RTLSDR_API int rtlsdr_get_usb_strings(rtlsdr_dev* dev, char* manufacturer, char* product, char* serial) {
    return onOpen("get_usb_strings", dev, "", Effect::Query, [&](OpenDongle& d) {
        if (manufacturer == nullptr || product == nullptr || serial == nullptr) return -1;
        fill(manufacturer, d.spec.openedManufacturer.value_or(d.spec.manufacturer));
        fill(product, d.spec.openedProduct.value_or(d.spec.product));
        fill(serial, d.spec.openedSerial.value_or(d.spec.serial));
        return 0;
    });
}

RTLSDR_API int rtlsdr_set_center_freq(rtlsdr_dev* dev, uint32_t hz) {
    return onOpen("set_center_freq", dev, std::to_string(hz), Effect::Setting, [&](OpenDongle& d) {
        if (hz == 0) return -1;
        d.centreHz = hz;
        return 0;
    });
}

RTLSDR_API int rtlsdr_set_sample_rate(rtlsdr_dev* dev, uint32_t rate) {
    return onOpen("set_sample_rate", dev, std::to_string(rate), Effect::Setting, [&](OpenDongle& d) {
        // The two ranges that the dongle's resampler covers.
        const bool low = rate > 225000 && rate <= 300000;
        const bool high = rate > 900000 && rate <= 3200000;
        if (!low && !high) return -1;
        d.sampleRate = rate;
        return 0;
    });
}

RTLSDR_API int rtlsdr_set_freq_correction(rtlsdr_dev* dev, int ppm) {
    return onOpen("set_freq_correction", dev, std::to_string(ppm), Effect::Setting, [&](OpenDongle& d) {
        if (ppm == d.correction) return -2;
        d.correction = ppm;
        return 0;
    });
}

RTLSDR_API int rtlsdr_set_tuner_gain_mode(rtlsdr_dev* dev, int manual) {
    return setFlag(dev, "set_tuner_gain_mode", manual, &OpenDongle::manualGain);
}

RTLSDR_API int rtlsdr_set_tuner_gain(rtlsdr_dev* dev, int gain) {
    return onOpen("set_tuner_gain", dev, std::to_string(gain), Effect::Setting, [&](OpenDongle& d) {
        const auto& gains = d.spec.gains;
        if (std::find(gains.begin(), gains.end(), gain) == gains.end()) {
            standin().log.violation("rtlsdr_set_tuner_gain(" + d.label() + ", " + std::to_string(gain) +
                                    ") with a gain not in the tuner's list");
        }
        d.gain = gain;
        return 0;
    });
}

RTLSDR_API int rtlsdr_get_tuner_gains(rtlsdr_dev* dev, int* gains) {
    return onOpen("get_tuner_gains", dev, gains == nullptr ? "null" : "array", Effect::Query, [&](OpenDongle& d) {
        const auto& list = d.spec.gains;
        const int count = d.spec.gainsCount.value_or(int(list.size()));
        // Never more than the count reported, which is what the caller made room for.
        if (gains == nullptr) return count;
        std::copy_n(list.begin(), std::min(size_t(std::max(count, 0)), list.size()), gains);
        return d.spec.gainsArrayResult.value_or(count);
    });
}

RTLSDR_API int rtlsdr_set_agc_mode(rtlsdr_dev* dev, int on) {
    return setFlag(dev, "set_agc_mode", on, &OpenDongle::agc);
}

RTLSDR_API int rtlsdr_set_direct_sampling(rtlsdr_dev* dev, int mode) {
    return onOpen("set_direct_sampling", dev, std::to_string(mode), Effect::Setting, [&](OpenDongle& d) {
        if (mode < 0 || mode > 2) return -1;
        d.directSampling = mode;
        return 0;
    });
}

RTLSDR_API int rtlsdr_set_bias_tee(rtlsdr_dev* dev, int on) {
    return setFlag(dev, "set_bias_tee", on, &OpenDongle::biasTee);
}

RTLSDR_API int rtlsdr_reset_buffer(rtlsdr_dev* dev) {
    return onOpen("reset_buffer", dev, "", Effect::Reset, [](OpenDongle&) { return 0; });
}

RTLSDR_API int rtlsdr_read_async(rtlsdr_dev* dev, ReadCallback callback, void* context, uint32_t bufferCount,
                                 uint32_t bufferLength) {
    const std::string arguments = std::to_string(bufferCount) + ", " + std::to_string(bufferLength);
    return onOpen("read_async", dev, arguments, Effect::Query, [&](OpenDongle& d) {
        // Whole I/Q pairs only, in buffers that the stand-in can hold.
        const bool heldBuffers = bufferCount > 0 && bufferCount <= 256 && bufferLength > 0 && bufferLength <= (1u << 24);
        if (callback == nullptr || !heldBuffers || bufferLength % 2 != 0) return -1;
        return stream(d, callback, context, bufferCount, bufferLength, standin().log);
    });
}

RTLSDR_API int rtlsdr_cancel_async(rtlsdr_dev* dev) {
    // Only a flag for the read to see: callable from any thread, the read's
    // callback included, and never waiting for the read.
    Standin& library = standin();
    const auto dongle = library.dongles.find(dev);
    const std::string call = "rtlsdr_cancel_async(" + handleName(dongle, dev) + ")";
    if (!dongle) {
        library.log.violation(call + " without an open handle");
        return -1;
    }
    const bool running = dongle->reading.load();
    if (running) dongle->cancelRequested = true;
    library.log.line(call + " = 0" + (running ? "" : " (no read running)"));
    return 0;
}
