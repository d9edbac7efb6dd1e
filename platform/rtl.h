#pragma once
// Binding to the RTL-SDR driver library "rtlsdr.dll", loaded at run time from
// the program's own folder, and the list of attached dongles.

#include <cstdint>
#include <filesystem>
#include <vector>

#include <windows.h>

#include "hf/records.h"

// The library's opaque handle to an open dongle.
struct rtlsdr_dev;
using rtlsdr_dev_t = rtlsdr_dev;

// Called by rtlsdr_read_async once per filled buffer of 8-bit I/Q pairs.
using rtlsdr_read_async_cb_t = void (*)(unsigned char* buffer, uint32_t length, void* context);

class Rtl {
public:
    // Throws a runtime error when the library is missing or lacks an entry point.
    explicit Rtl(const std::filesystem::path& folder);
    ~Rtl();
    Rtl(const Rtl&) = delete;
    Rtl& operator=(const Rtl&) = delete;

    // The dongles whose USB strings could be read, in index order.
    std::vector<hf::Device> devices() const;

    HMODULE module = nullptr;
    uint32_t (*get_device_count)() = nullptr;
    int (*get_device_usb_strings)(uint32_t index, char* manufacturer, char* product, char* serial) = nullptr;
    int (*open_identity)(rtlsdr_dev_t** out, uint32_t index, const char* manufacturer, const char* product,
                         const char* serial) = nullptr;
    int (*close)(rtlsdr_dev_t* dev) = nullptr;
    int (*get_usb_strings)(rtlsdr_dev_t* dev, char* manufacturer, char* product, char* serial) = nullptr;
    int (*set_center_freq)(rtlsdr_dev_t* dev, uint32_t hz) = nullptr;
    int (*set_sample_rate)(rtlsdr_dev_t* dev, uint32_t rate) = nullptr;
    int (*set_freq_correction)(rtlsdr_dev_t* dev, int ppm) = nullptr;
    int (*set_tuner_gain_mode)(rtlsdr_dev_t* dev, int manual) = nullptr;
    int (*set_tuner_gain)(rtlsdr_dev_t* dev, int tenthsDb) = nullptr;
    int (*get_tuner_gains)(rtlsdr_dev_t* dev, int* tenthsDb) = nullptr;
    int (*set_agc_mode)(rtlsdr_dev_t* dev, int on) = nullptr;
    int (*set_direct_sampling)(rtlsdr_dev_t* dev, int mode) = nullptr;
    int (*set_bias_tee)(rtlsdr_dev_t* dev, int on) = nullptr;
    int (*reset_buffer)(rtlsdr_dev_t* dev) = nullptr;
    int (*read_async)(rtlsdr_dev_t* dev, rtlsdr_read_async_cb_t callback, void* context, uint32_t bufferCount,
                      uint32_t bufferLength) = nullptr;
    int (*cancel_async)(rtlsdr_dev_t* dev) = nullptr;

private:
    // Takes ownership of a loaded module, so that the destructor frees it even
    // when binding the entry points fails.
    explicit Rtl(HMODULE loaded);
};
