#include "nlsTestSupport.h"

#include "nlsTestPlatform.h"

#include <platform/utString.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace nlstest {

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(m_path), ignored);
}

ScopedEnv::ScopedEnv(const char* name) : m_name(name) {
    const char* old = std::getenv(name);
    m_had = old != nullptr;
    if (old) m_old = old;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : ScopedEnv(name) {
    set_env(name, value);
}

ScopedEnv::~ScopedEnv() {
    set_env(m_name.c_str(), m_had ? m_old.c_str() : nullptr);
}

void write_file(const std::string& path, const std::string& bytes) {
    for (std::size_t slash = path.find_first_of("/\\", 1); slash != std::string::npos;
         slash = path.find_first_of("/\\", slash + 1))
        make_directory(path.substr(0, slash));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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

void PrintTo(const utString& text, std::ostream* out) {
    if (text.c_str())
        *out << '"' << text.c_str() << '"';
    else
        *out << "(null)";
}
