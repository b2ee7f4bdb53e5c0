#include "../nlsTestPlatform.h"
#include "../nlsTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>

namespace nlstest {

TempDir::TempDir() {
    const char* base = std::getenv("TEST_TMPDIR");
    if (!base || !*base) base = std::getenv("TMPDIR");
    if (!base || !*base) base = "/tmp";
    std::string pattern = std::string(base) + "/nls-test-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed in " + pattern);
    m_path = pattern;
}

void set_env(const char* name, const char* value) {
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
}

ScopedUser::ScopedUser(const char* locale_name)
    : m_env(std::make_unique<ScopedEnv>("NLS_USER_LOCALE", locale_name)), m_active(true) {}

struct ScopedRegistry::State {
    TempDir dir;
    ScopedEnv env{"NLS_REGISTRY", (dir / "registry.db").c_str()};
};

ScopedRegistry::ScopedRegistry() : m_state(std::make_unique<State>()) {}

ScopedRegistry::~ScopedRegistry() = default;

std::string ScopedRegistry::key(const std::string& relative) const {
    return "Software\\" + relative;
}

void make_directory(const std::string& path) {
    ::mkdir(path.c_str(), 0755);
}

void set_modified(const std::string& path, std::int64_t seconds, long nanoseconds) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), nanoseconds}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        throw std::runtime_error("cannot set the time of " + path);
}

Outcome run(const std::string& program, const std::string& arguments) {
    std::string command = program + " " + arguments + " 2>&1";
    Outcome result{-1, ""};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, n);
    int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace nlstest
