#pragma once
// The asynchronous read: buffers of the scene handed to the application's
// callback on the caller's thread, at the pace of the wall clock, until a
// cancel or a configured fault ends it.

#include <cstdint>

#include "standin/call_log.h"
#include "standin/open_dongle.h"

using ReadCallback = void (*)(unsigned char* buffer, uint32_t length, void* context);

// The read's result: 0 after a cancel, or the configured fault's code.
int stream(OpenDongle& dongle, ReadCallback callback, void* context, uint32_t bufferCount, uint32_t bufferLength,
           CallLog& log);
