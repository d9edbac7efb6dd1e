#include "standin/dongle_registry.h"

#include <cstring>

namespace {

bool same(const char* given, const std::string& expected) {
    return given != nullptr && std::strcmp(given, expected.c_str()) == 0;
}

}  // namespace

DongleRegistry::DongleRegistry(const StandinConfig& config)
    : config(config),
      busyPrefix(L"Local\\HFOrvandeStandin." + std::to_wstring(std::hash<std::wstring>{}(config.source.wstring())) +
                 L".") {}

std::shared_ptr<OpenDongle> DongleRegistry::open(uint32_t index, const char* manufacturer, const char* product,
                                                 const char* serial, std::string& refusal) {
    if (index >= config.dongles.size()) {
        refusal = "no dongle at this index";
        return nullptr;
    }
    const DongleSpec& spec = config.dongles[index];
    if (spec.refuses("open_identity") || spec.refuses("get_device_usb_strings")) {
        refusal = "refused by the configuration";
        return nullptr;
    }
    if (!same(manufacturer, spec.manufacturer) || !same(product, spec.product) || !same(serial, spec.serial)) {
        refusal = "identity differs";
        return nullptr;
    }
    // A mutex that already exists is another handle's, maybe in another process.
    SetLastError(ERROR_SUCCESS);
    WinHandle busyMark(CreateMutexW(nullptr, FALSE, (busyPrefix + std::to_wstring(index)).c_str()));
    if (!busyMark || GetLastError() == ERROR_ALREADY_EXISTS) {
        refusal = "busy";
        return nullptr;
    }
    const std::lock_guard<std::mutex> guard(mutex);
    auto dongle = std::make_shared<OpenDongle>(++opened, index, spec, std::move(busyMark), config.signals);
    handles[dongle.get()] = dongle;
    return dongle;
}

std::shared_ptr<OpenDongle> DongleRegistry::find(const void* handle) const {
    const std::lock_guard<std::mutex> guard(mutex);
    const auto found = handles.find(handle);
    return found == handles.end() ? nullptr : found->second;
}

void DongleRegistry::forget(const void* handle) {
    std::shared_ptr<OpenDongle> last;  // released after the lock, outside it
    const std::lock_guard<std::mutex> guard(mutex);
    const auto found = handles.find(handle);
    if (found == handles.end()) return;
    last = std::move(found->second);
    handles.erase(found);
}
