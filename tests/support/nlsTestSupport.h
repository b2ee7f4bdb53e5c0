#pragma once

// Helpers shared by the tests: what they change put back at the end, reports recorded, files
// written, programs run.

#include <nls/nlsDataBase.h>
#include <nls/nlsDomainManager.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLoadedDomain.h>
#include <nls/nlsWinApplicationSettings.h>

#include "moWriter.h"

#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

struct apCrtSeam;

/// Failures show a utString's text.
void PrintTo(const utString& text, std::ostream* out);

namespace nlstest {

/// A new empty folder in the system's temporary folder, removed with its contents at the end.
struct TempDir {
    TempDir();
    TempDir(const TempDir&) = delete;
    ~TempDir();
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& relative) const { return m_path + "/" + relative; }
    std::string m_path;
};

/// Sets (null: unsets) an environment variable for the scope; with the name alone, only puts it
/// back.
struct ScopedEnv {
    explicit ScopedEnv(const char* name);
    ScopedEnv(const char* name, const char* value);
    ScopedEnv(const ScopedEnv&) = delete;
    ~ScopedEnv();
    std::string m_name, m_old;
    bool m_had;
};

/// Sets "NAME=value NAME= NAME" (the last unset) for the scope of the result.
std::deque<ScopedEnv> scoped_env(const std::string& settings);

/// The user's regional settings as those of the Windows locale `name` ("de-AT"), through
/// NLS_USER_LOCALE on POSIX. A Windows process keeps the user it started with (tests/CMakeLists.txt
/// runs the tests named *EachUser* for several): active() tells whether it is this one.
struct ScopedUser : ScopedEnv {
    explicit ScopedUser(const char* name) : ScopedEnv("NLS_USER_LOCALE", name), m_user(name) {}
    bool active() const;
    std::string m_user;
};

/// A registry of the test's own: on POSIX a store in a fresh folder (NLS_REGISTRY), on Windows a
/// key of the current user unique to the run, deleted at the end. key("Maker\\App") is a key in it.
struct ScopedRegistry {
    ScopedRegistry();
    ~ScopedRegistry();
    std::string key(const std::string& relative) const;
    struct State;
    std::unique_ptr<State> m_state;
};

/// Writes a file, making its folders; reads one (empty if it cannot).
void write_file(const std::string& path, const std::string& bytes);
std::string read_file(const std::string& path);
/// `bytes` written to a fresh folder and loaded as a catalogue, `seam` serving the run time's
/// calls.
struct Loaded {
    TempDir dir;
    unsigned int code = 0xdead;
    std::unique_ptr<nlsLoadedDomain> domain;
};
std::unique_ptr<Loaded> load(const std::string& bytes, const apCrtSeam* seam = nullptr);
/// The system's part (support/posix, support/windows): the time of last change to the
/// nanosecond; a folder made unless it exists; a variable set, or removed for null.
void set_modified(const std::string& path, std::int64_t seconds, long nanoseconds);
void make_directory(const std::string& path);
void set_env(const char* name, const char* value);

/// Runs `program` with the command line `arguments`: the exit status (-1 when it could not run or
/// did not exit), standard output and error together.
struct Outcome {
    int status;
    std::string out;
};
Outcome run(const std::string& program, const std::string& arguments);

/// Silences assertion reports while it lives, and counts them.
struct AssertCapture {
    AssertCapture();
    AssertCapture(const AssertCapture&) = delete;
    ~AssertCapture();
    int count() const;
    int m_before;
};

/// Puts process-wide state back (the tests pass in one process too); no database may outlive it.
class StateSavingTest : public testing::Test {
protected:
    StateSavingTest();
    ~StateSavingTest() override;

private:
    struct Saved;
    std::unique_ptr<Saved> m_saved;
};

/// As a new process or a derived class would, put back by a StateSavingTest: the languages chosen
/// and cached forgotten; the default directory (null: none); the regional settings flag.
void forget_languages();
void set_default_directory(const char* directory);
void set_regional_settings_flag(int flag);

/// The protected parts the tests use.
struct Manager : nlsDomainManager {
    using nlsDomainManager::add;
    using nlsDomainManager::error;
    using nlsDomainManager::remove;
};
struct DataBase : nlsDataBase {
    using nlsDataBase::error;
    using nlsDataBase::m_loaded_domain;
    using nlsDataBase::nlsDataBase;
};
struct SettingsProbe : nlsWinApplicationSettings {
    using nlsWinApplicationSettings::nlsWinApplicationSettings;
    using nlsWinApplicationSettings::store_iso_name;
    /// The stored language, expecting the read to give `code`.
    std::string read(unsigned int code = nlsERROR_NONE) const;
};

/// Records the handlers' reports from now on, answering as the default handlers do; take() gives
/// those since the last call, as lines.
struct Reports {
    Reports();
    std::vector<std::string> take();
};

/// A British user, no language variables nor NLSPATH, a registry of its own, reports recorded.
class ManagerTest : public StateSavingTest {
protected:
    TempDir dir;
    ScopedUser british{"en-GB"};
    std::deque<ScopedEnv> cleared = scoped_env("LC_ALL LC_MESSAGES LANG LANGUAGE NLSPATH");
    ScopedRegistry registry;
    Reports reports;

    /// Writes <root>/<language>/LC_MESSAGES/<domain>.mo, each message as "<language>:<message>".
    std::string catalogue(const std::string& root, const std::string& language,
                          const std::string& domain, const std::vector<std::string>& messages);
};

} // namespace nlstest
