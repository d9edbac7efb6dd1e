#pragma once
// The state of the loaded library: its configuration, its call log and its
// dongles, made on the first call and gone when the library is unloaded.

#include "standin/call_log.h"
#include "standin/config.h"
#include "standin/dongle_registry.h"

struct Standin {
    Standin();

    const StandinConfig config;
    CallLog log;
    DongleRegistry dongles;
};

Standin& standin();
