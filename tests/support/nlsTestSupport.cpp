#include "nlsTestSupport.h"

#include <platform/utString.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace nlstest {

TempDir::TempDir() {
    const char* base = std::getenv("TEST_TMPDIR");
    if (!base || !*base) base = std::getenv("TMPDIR");
    if (!base || !*base) base = "/tmp";
    std::string pattern = std::string(base) + "/nls-test-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed in " + pattern);
    m_path = pattern;
}

TempDir::~TempDir() {
    ::nftw(
        m_path.c_str(),
        [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : m_name(name) {
    const char* old = std::getenv(name);
    m_had = old != nullptr;
    if (old) m_old = old;
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (m_had)
        ::setenv(m_name.c_str(), m_old.c_str(), 1);
    else
        ::unsetenv(m_name.c_str());
}

void write_file(const std::string& path, const std::string& bytes) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

Outcome run_command(const std::string& command) {
    Outcome result{-1, ""};
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, n);
    int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

namespace {
std::vector<std::string> g_reports;
}

AssertCapture::AssertCapture() {
    g_reports.clear();
    ut_set_assert_handler([](const char* file, int line, const char* message, const char* function,
                             const char* expression) {
        g_reports.push_back(std::string(file) + ":" + std::to_string(line) + ": " + message +
                            " in " + function + " (" + expression + ")");
    });
}

AssertCapture::~AssertCapture() {
    ut_set_assert_handler(nullptr);
}

const std::vector<std::string>& AssertCapture::reports() const {
    return g_reports;
}

} // namespace nlstest
