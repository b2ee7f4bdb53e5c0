#include "../nlsTestSupport.h"

#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>

namespace nlstest {

void set_env(const char* name, const char* value) {
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
}

void make_directory(const std::string& path) {
    ::mkdir(path.c_str(), 0755);
}

bool ScopedUser::active() const {
    return true;
}

struct ScopedRegistry::State {
    TempDir dir;
    ScopedEnv env{"NLS_REGISTRY", (dir / "registry.db").c_str()};
};

ScopedRegistry::ScopedRegistry() : m_state(std::make_unique<State>()) {}

ScopedRegistry::~ScopedRegistry() = default;

std::string ScopedRegistry::key(const std::string& relative) const {
    return "Software\\" + relative;
}

void set_modified(const std::string& path, std::int64_t seconds, long nanoseconds) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), nanoseconds}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        throw std::runtime_error("cannot set the time of " + path);
}

Outcome run(const std::string& program, const std::string& arguments) {
    Outcome result{-1, ""};
    FILE* pipe = ::popen((program + " " + arguments + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, n);
    int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace nlstest
