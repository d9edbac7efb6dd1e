#include "platform/rtl.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/check.h"

namespace {

// The library's own dependencies are searched only beside it and in the
// system folder.
constexpr DWORD searchBesideAndSystem = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;

HMODULE load(const std::filesystem::path& folder) {
    HMODULE module = LoadLibraryExW((folder / L"rtlsdr.dll").c_str(), nullptr, searchBesideAndSystem);
    check(module != nullptr, "Impossible de charger la bibliotheque RTL-SDR privee. Reinstallez cette application.");
    return module;
}

template <typename Entry>
void bind(HMODULE module, Entry& entry, const char* name) {
    // Through the generic function pointer type, which the compiler accepts
    // as a bridge between unrelated function types.
    entry = reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    check(entry != nullptr, "Bibliotheque RTL-SDR incomplete.");
}

// A string of the library's buffer, up to its first NUL but never past the
// buffer, even when the library left no terminator.
template <size_t N>
std::string bounded(const std::array<char, N>& buffer) {
    return std::string(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
}

}  // namespace

Rtl::Rtl(HMODULE loaded) : module(loaded) {}

Rtl::Rtl(const std::filesystem::path& folder) : Rtl(load(folder)) {
    bind(module, get_device_count, "rtlsdr_get_device_count");
    bind(module, get_device_usb_strings, "rtlsdr_get_device_usb_strings");
    bind(module, open_identity, "rtlsdr_open_identity");
    bind(module, close, "rtlsdr_close");
    bind(module, get_usb_strings, "rtlsdr_get_usb_strings");
    bind(module, set_center_freq, "rtlsdr_set_center_freq");
    bind(module, set_sample_rate, "rtlsdr_set_sample_rate");
    bind(module, set_freq_correction, "rtlsdr_set_freq_correction");
    bind(module, set_tuner_gain_mode, "rtlsdr_set_tuner_gain_mode");
    bind(module, set_tuner_gain, "rtlsdr_set_tuner_gain");
    bind(module, get_tuner_gains, "rtlsdr_get_tuner_gains");
    bind(module, set_agc_mode, "rtlsdr_set_agc_mode");
    bind(module, set_direct_sampling, "rtlsdr_set_direct_sampling");
    bind(module, set_bias_tee, "rtlsdr_set_bias_tee");
    bind(module, reset_buffer, "rtlsdr_reset_buffer");
    bind(module, read_async, "rtlsdr_read_async");
    bind(module, cancel_async, "rtlsdr_cancel_async");
}

Rtl::~Rtl() {
    if (module != nullptr) FreeLibrary(module);
}

std::vector<hf::Device> Rtl::devices() const {
    std::vector<hf::Device> found;
    const uint32_t count = get_device_count();
    for (uint32_t index = 0; index < count; ++index) {
        std::array<char, 256> manufacturer{};
        std::array<char, 256> product{};
        std::array<char, 256> serial{};
        if (get_device_usb_strings(index, manufacturer.data(), product.data(), serial.data()) != 0) continue;
        found.push_back({index, bounded(manufacturer), bounded(product), bounded(serial)});
    }
    return found;
}
