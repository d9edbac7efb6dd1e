#include "platform/text.h"

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (n <= 0) return {};
    std::wstring result(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, result.data(), n);
    return result;
}

std::string narrow(const std::wstring& utf16) {
    const int length = static_cast<int>(utf16.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string result(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, result.data(), n, nullptr, nullptr);
    return result;
}

std::wstring text(HWND window) {
    const int n = GetWindowTextLengthW(window);
    std::wstring result(static_cast<std::size_t>(n) + 1, L'\0');
    GetWindowTextW(window, result.data(), n + 1);
    result.resize(static_cast<std::size_t>(n));
    return result;
}
