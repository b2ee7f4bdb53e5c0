#include "../nlsTestSupport.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <direct.h>
#include <random>
#include <stdexcept>
#include <stdlib.h>

namespace nlstest {

namespace {

std::wstring widen(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    wide.resize(wide.size() - 1);
    return wide;
}

} // namespace

void set_env(const char* name, const char* value) {
    // An empty value removes a variable here: Windows has no variable set to the empty text.
    _putenv_s(name, value ? value : "");
}

void make_directory(const std::string& path) {
    _mkdir(path.c_str());
}

bool ScopedUser::active() const {
    wchar_t user[LOCALE_NAME_MAX_LENGTH];
    return GetUserDefaultLocaleName(user, LOCALE_NAME_MAX_LENGTH) > 0 &&
           _wcsicmp(user, widen(m_user).c_str()) == 0;
}

struct ScopedRegistry::State {
    std::string root = "Software\\nls-tests\\run-" + std::to_string(std::random_device{}());
};

ScopedRegistry::ScopedRegistry() : m_state(std::make_unique<State>()) {}

ScopedRegistry::~ScopedRegistry() {
    RegDeleteTreeW(HKEY_CURRENT_USER, widen(m_state->root).c_str());
    // The parent goes too once no other run uses it.
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\nls-tests");
}

std::string ScopedRegistry::key(const std::string& relative) const {
    return m_state->root + "\\" + relative;
}

void set_modified(const std::string& path, std::int64_t seconds, long nanoseconds) {
    // FILETIME counts 100 ns from 1601.
    const std::uint64_t ticks = (static_cast<std::uint64_t>(seconds) + 11644473600u) * 10000000u +
                                static_cast<std::uint64_t>(nanoseconds) / 100;
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    HANDLE file = CreateFileW(widen(path).c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    const bool set = file != INVALID_HANDLE_VALUE && SetFileTime(file, nullptr, nullptr, &time);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!set) throw std::runtime_error("cannot set the time of " + path);
}

Outcome run(const std::string& program, const std::string& arguments) {
    Outcome result{-1, ""};
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return result;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = startup.hStdError = write_end;
    std::wstring application = widen(program),
                 command = L"\"" + application + L"\" " + widen(arguments);
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessW(application.c_str(), command.data(), nullptr, nullptr, TRUE, 0,
                                  nullptr, nullptr, &startup, &process);
    CloseHandle(write_end);
    char buffer[4096];
    DWORD n = 0, code = 0;
    while (started && ReadFile(read_end, buffer, sizeof buffer, &n, nullptr) && n > 0)
        result.out.append(buffer, n);
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        if (GetExitCodeProcess(process.hProcess, &code)) result.status = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(read_end);
    return result;
}

} // namespace nlstest
