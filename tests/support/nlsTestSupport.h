#pragma once

// Helpers shared by the tests: a fresh temporary folder, environment variables restored on scope
// exit, file writing, commands run for their output, and interception of assertion reports.

#include <string>
#include <vector>

namespace nlstest {

/// A new empty folder (under TEST_TMPDIR, TMPDIR or /tmp), removed with its contents at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    /// path() + "/" + relative
    std::string operator/(const std::string& relative) const { return m_path + "/" + relative; }

private:
    std::string m_path;
};

/// Sets (or, with a null value, unsets) an environment variable until the end of the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_had;
};

/// Writes `bytes` to `path`, creating the folders on the way.
void write_file(const std::string& path, const std::string& bytes);

/// What a command run through the shell gave.
struct Outcome {
    int status;      ///< its exit status, -1 when it did not exit
    std::string out; ///< standard output and error together
};
Outcome run_command(const std::string& command);

/// Records every assertion report made while it lives, instead of printing it.
class AssertCapture {
public:
    AssertCapture();
    ~AssertCapture();
    AssertCapture(const AssertCapture&) = delete;
    AssertCapture& operator=(const AssertCapture&) = delete;
    /// "file:line: message in function (expression)" for each report.
    const std::vector<std::string>& reports() const;
};

} // namespace nlstest
