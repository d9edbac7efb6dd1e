#include "standin/config_source.h"

#include <fstream>
#include <string>

#include <windows.h>

namespace {

std::filesystem::path namedByEnvironment() {
    std::wstring value(32768, L'\0');  // the largest environment value
    const DWORD length = GetEnvironmentVariableW(L"HF_STANDIN_CONFIG", value.data(), DWORD(value.size()));
    value.resize(length < value.size() ? length : 0);
    return value;
}

std::filesystem::path besideThisLibrary() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&besideThisLibrary), &self);
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(self, name.data(), DWORD(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);
    }
    return std::filesystem::path(name).parent_path() / L"rtlsdr-standin.ini";
}

StandinConfig readFile(const std::filesystem::path& path) {
    std::ifstream file(path);
    if (!file) {
        StandinConfig unreadable;
        unreadable.source = path;
        unreadable.errors.push_back("cannot read " + utf8(path));
        return unreadable;
    }
    return parseConfig(file, path);
}

}  // namespace

StandinConfig loadConfig() {
    const auto named = namedByEnvironment();
    if (!named.empty()) return readFile(named);
    const auto beside = besideThisLibrary();
    std::error_code ignored;
    if (!beside.empty() && std::filesystem::exists(beside, ignored)) return readFile(beside);
    return builtInConfig();
}
