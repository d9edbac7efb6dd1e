#pragma once
// The stand-in's record of every call, for tests to read: one line per call,
// appended and written through at once, so that a line is on disk before the
// call returns, even when the process dies next.

#include <filesystem>
#include <mutex>
#include <string>

#include "standin/win_handle.h"

class CallLog {
public:
    // An empty path keeps no log.
    explicit CallLog(const std::filesystem::path& path);

    void line(const std::string& text);
    // A breach of the contract that the application must keep.
    void violation(const std::string& text) { line("VIOLATION " + text); }

private:
    std::mutex mutex;  // one line at a time, whole
    WinHandle file;
};
