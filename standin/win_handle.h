#pragma once
// Sole owner of a kernel handle, closed with it.

#include <utility>

#include <windows.h>

class WinHandle {
public:
    WinHandle() = default;
    explicit WinHandle(HANDLE owned) : handle(owned == INVALID_HANDLE_VALUE ? nullptr : owned) {}
    ~WinHandle() {
        if (handle != nullptr) CloseHandle(handle);
    }
    WinHandle(WinHandle&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
    WinHandle& operator=(WinHandle&& other) noexcept {
        std::swap(handle, other.handle);
        return *this;
    }
    WinHandle(const WinHandle&) = delete;
    WinHandle& operator=(const WinHandle&) = delete;

    HANDLE get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }

private:
    HANDLE handle = nullptr;
};
