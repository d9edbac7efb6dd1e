#pragma once
// The simulated dongles and the handles open on them. A handle is looked up
// before every use, so a closed or foreign pointer is reported, never
// dereferenced; a handle in use stays alive until its call returns.

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "standin/config.h"
#include "standin/open_dongle.h"

class DongleRegistry {
public:
    explicit DongleRegistry(const StandinConfig& config);

    // The open handle, or null and the reason of the refusal.
    std::shared_ptr<OpenDongle> open(uint32_t index, const char* manufacturer, const char* product, const char* serial,
                                     std::string& refusal);
    std::shared_ptr<OpenDongle> find(const void* handle) const;
    void forget(const void* handle);

private:
    const StandinConfig& config;
    std::wstring busyPrefix;  // names the dongles' busy marks, one set per configuration
    mutable std::mutex mutex;
    std::map<const void*, std::shared_ptr<OpenDongle>> handles;
    uint32_t opened = 0;
};
