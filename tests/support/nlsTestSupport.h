#pragma once

// Helpers shared by the tests: a fresh temporary folder; environment variables, the user's
// regional settings and a registry put back at the end of the scope; file writing; running
// programs; assertion reports recorded.

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class utString;

/// Failures show a utString's text.
void PrintTo(const utString& text, std::ostream* out);

namespace nlstest {

/// What puts something back at the end of its scope is never copied, lest it do so twice.
struct NoCopy {
    NoCopy() = default;
    NoCopy(const NoCopy&) = delete;
    NoCopy& operator=(const NoCopy&) = delete;
};

/// A new empty folder (under TEST_TMPDIR, TMPDIR or /tmp; on Windows its temporary folder),
/// removed with its contents at the end.
class TempDir : NoCopy {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& relative) const { return m_path + "/" + relative; }

private:
    std::string m_path;
};

/// Sets (or, with a null value, unsets) an environment variable for the scope; with the name
/// alone, only puts its value back at the end.
class ScopedEnv : NoCopy {
public:
    explicit ScopedEnv(const char* name);
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();

private:
    std::string m_name, m_old;
    bool m_had;
};

/// The user's regional settings as those of the Windows locale `locale_name` ("de-AT") for the
/// scope; on POSIX through NLS_USER_LOCALE. A Windows process keeps the user locale it started
/// with (tests/CMakeLists.txt runs the tests named *EachUser* once for each of several users):
/// active() tells whether it is this one.
class ScopedUser : NoCopy {
public:
    explicit ScopedUser(const char* locale_name);
    bool active() const { return m_active; }

private:
    std::unique_ptr<ScopedEnv> m_env;
    bool m_active = false;
};

/// A registry of the test's own for the scope: on POSIX a store in a fresh folder
/// (NLS_REGISTRY); on Windows a key of the current user unique to the run, deleted at the end.
class ScopedRegistry : NoCopy {
public:
    ScopedRegistry();
    ~ScopedRegistry();
    /// The key path of `relative` ("Maker\\App") inside the test's registry.
    std::string key(const std::string& relative) const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

/// Writes `bytes` to `path`, creating the folders on the way.
void write_file(const std::string& path, const std::string& bytes);
/// The bytes of the file at `path`; empty when it cannot be read.
std::string read_file(const std::string& path);

struct Outcome {
    int status;      ///< the exit status; -1 when the program could not run or did not exit
    std::string out; ///< standard output and error together
};

/// Runs `program` with `arguments` (separated by blanks, quoted with double quotes where a
/// blank is part of one) and waits for it.
Outcome run(const std::string& program, const std::string& arguments);

/// Records every assertion report made while it lives, instead of printing it.
class AssertCapture : NoCopy {
public:
    AssertCapture();
    ~AssertCapture();
    /// "file:line: message in function (expression)" for each report.
    const std::vector<std::string>& reports() const;
};

} // namespace nlstest
