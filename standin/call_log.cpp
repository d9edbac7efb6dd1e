#include "standin/call_log.h"

CallLog::CallLog(const std::filesystem::path& path) {
    if (path.empty()) return;
    file = WinHandle(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void CallLog::line(const std::string& text) {
    if (!file) return;
    const std::string whole = text + "\n";
    const std::lock_guard<std::mutex> guard(mutex);
    DWORD written = 0;
    WriteFile(file.get(), whole.data(), DWORD(whole.size()), &written, nullptr);
}
