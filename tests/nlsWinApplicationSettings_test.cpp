#include <nls/nlsErrorData.h>
#include <nls/nlsWinApplicationSettings.h>

#include "nlsTestSupport.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sqlite3.h>
#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using nlstest::ScopedEnv;

/// Opens the text-level steps to the tests.
struct Settings : nlsWinApplicationSettings {
    using nlsWinApplicationSettings::nlsWinApplicationSettings;
    using nlsWinApplicationSettings::store_iso_name;
    std::string read(unsigned int code = nlsERROR_NONE) const {
        utString stored("not read");
        EXPECT_EQ(read_stored_language(stored), code);
        return stored.c_str();
    }
};

class nlsWinApplicationSettingsTest : public testing::Test {
protected:
    nlstest::TempDir dir;
    std::string store = dir / "registry.db";
    ScopedEnv env{"NLS_REGISTRY", store.c_str()};
    Settings app{"Software\\Maker\\App"};
};

std::string file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

constexpr int kWrites = 300; // for each of two processes

/// Stores `number` and reads it back; true when both worked.
bool store_and_check(const Settings& settings, int number) {
    const std::string text = std::to_string(number);
    return settings.store_iso_name(text.c_str()) == nlsERROR_NONE && settings.read() == text;
}

TEST_F(nlsWinApplicationSettingsTest, WritersInOtherProcessesLoseNothingEvenWhenKilled) {
    // How far the child got, where the parent still sees it after the kill.
    auto* checked = static_cast<volatile int*>(
        ::mmap(nullptr, sizeof(int), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(checked, MAP_FAILED);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const Settings settings("Software\\Maker\\Child");
        for (int i = 1; store_and_check(settings, i); ++i)
            *checked = i;
        ::_exit(1);
    }
    int parent_checked = 0;
    while (parent_checked < kWrites && store_and_check(app, parent_checked + 1))
        ++parent_checked;
    // Kill the child in the middle of its writes once it has done as many.
    for (int i = 0; i < 10000 && *checked < kWrites; ++i)
        ::usleep(1000);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the child stopped on its own";
    EXPECT_GE(*checked, kWrites);

    EXPECT_EQ(app.read(), std::to_string(kWrites));
    // The write in progress when the child died may have committed without being counted.
    const int stored = std::stoi("0" + Settings("Software\\Maker\\Child").read());
    EXPECT_GE(stored, *checked);
    EXPECT_LE(stored, *checked + 1);
}

TEST_F(nlsWinApplicationSettingsTest, LockedStoreIsWaitedForBrieflyThenGivesCode1) {
    EXPECT_EQ(app.read(), ""); // nothing stored yet
    ASSERT_EQ(app.store_iso_name("de-DE"), nlsERROR_NONE);
    // Another writer in the middle of its transaction; closing it rolls back.
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(store.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(app.store_iso_name("fr-FR"), nlsERROR_FAILED);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 500ms);
    EXPECT_LT(waited, 5s);
    EXPECT_EQ(app.read(nlsERROR_FAILED), "");
    sqlite3_close(writer);
    EXPECT_EQ(app.read(), "de-DE");
}

TEST_F(nlsWinApplicationSettingsTest, UnusableStoreGivesCode1AndStaysUnchanged) {
    // Another application's database, though it has a table of the registry's name.
    sqlite3* other = nullptr;
    sqlite3_open((dir / "other.db").c_str(), &other);
    sqlite3_exec(other, "CREATE TABLE registry_keys(path TEXT)", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    const std::string unusable[] = {"x", std::string(4096, '\x5a'),
                                    std::string("SQLite format 3\0", 16) + std::string(200, '\0'),
                                    file_bytes(dir / "other.db")};
    for (const std::string& bytes : unusable) {
        nlstest::write_file(store, bytes);
        EXPECT_EQ(app.read(nlsERROR_FAILED), "");
        EXPECT_EQ(app.store_iso_name("de-DE"), nlsERROR_FAILED);
        EXPECT_EQ(file_bytes(store), bytes);
        EXPECT_NE(::access((store + "-journal").c_str(), F_OK), 0);
    }
    // No store at all when neither NLS_REGISTRY nor HOME names a place for it.
    ScopedEnv registry("NLS_REGISTRY", nullptr), config("XDG_CONFIG_HOME", nullptr),
        home("HOME", nullptr);
    EXPECT_EQ(app.read(nlsERROR_FAILED), "");
    EXPECT_EQ(app.store_iso_name("de-DE"), nlsERROR_FAILED);
}

} // namespace
