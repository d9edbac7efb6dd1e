#include "app/windows/ini_file.h"

#include "platform/text.h"

#include <windows.h>

#include <memory>
#include <string>

namespace app {

namespace {

// A section of this size is far beyond what the program writes; a larger
// one is read up to here.
constexpr DWORD largestSection = 1u << 22;

std::wstring trimmed(std::wstring_view text) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) return {};
    const auto last = text.find_last_not_of(L" \t");
    return std::wstring(text.substr(first, last - first + 1));
}

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

}  // namespace

IniSection IniFile::section(std::string_view name) const {
    const std::wstring section = wide(std::string(name));
    std::wstring buffer(32768, L'\0');
    DWORD length = 0;
    for (;;) {
        length = GetPrivateProfileSectionW(section.c_str(), buffer.data(),
                                           static_cast<DWORD>(buffer.size()), file_.c_str());
        // size - 2 means the list was cut short.
        if (length + 2 < buffer.size() || buffer.size() >= largestSection) break;
        buffer.assign(buffer.size() * 2, L'\0');
    }
    IniSection values;
    std::wstring_view rest(buffer.data(), length);
    while (!rest.empty()) {
        const auto end = rest.find(L'\0');
        const std::wstring_view line = rest.substr(0, end);
        rest = end == std::wstring_view::npos ? std::wstring_view{} : rest.substr(end + 1);
        const auto equals = line.find(L'=');
        const std::wstring key = trimmed(line.substr(0, equals));
        if (key.empty() || key.front() == L';') continue;
        const std::wstring written =
            equals == std::wstring_view::npos ? std::wstring{} : std::wstring(line.substr(equals + 1));
        values.emplace(narrow(key), readValue(narrow(written)));
    }
    return values;
}

void IniFile::write(std::string_view section, const std::vector<IniEntry>& entries) const {
    createIfMissing();
    const std::wstring name = wide(std::string(section));
    for (const IniEntry& entry : entries) {
        const std::wstring key = wide(entry.key);
        const std::wstring value = entry.value ? wide(writtenValue(*entry.value)) : std::wstring{};
        WritePrivateProfileStringW(name.c_str(), key.c_str(), entry.value ? value.c_str() : nullptr,
                                   file_.c_str());
    }
    // Hands any cached copy to the disk now, not at some later write.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file_.c_str());
}

void IniFile::createIfMissing() const {
    const HANDLE created = CreateFileW(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) return;  // already there, or not creatable
    const FileHandle file(created);
    static constexpr unsigned char byteOrderMark[] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file.get(), byteOrderMark, sizeof byteOrderMark, &written, nullptr);
}

}  // namespace app
