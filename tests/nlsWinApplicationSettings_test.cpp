#include <nls/nlsErrorData.h>
#include <nls/nlsWinApplicationSettings.h>
#include <platform/apRegistry.h>

#include "nlsTestSupport.h"
#include "registryTestSupport.h"

#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using nlstest::ScopedEnv;
using nlstest::TempDir;

const char* const kKey = "Software\\Maker\\App";

/// Opens the text-level steps to the tests.
class Settings : public nlsWinApplicationSettings {
public:
    using nlsWinApplicationSettings::nlsWinApplicationSettings;
    using nlsWinApplicationSettings::read_stored_language;
    using nlsWinApplicationSettings::store_iso_name;

    std::string read(unsigned int expected_code = nlsERROR_NONE) const {
        utString stored("not read");
        EXPECT_EQ(read_stored_language(stored), expected_code);
        return stored.c_str();
    }
};

class nlsWinApplicationSettingsTest : public testing::Test {
protected:
    TempDir dir;
    std::string store = dir / "registry.db";
    ScopedEnv env{"NLS_REGISTRY", store.c_str()};
};

TEST_F(nlsWinApplicationSettingsTest, StoresAndReadsTheLanguageUnderItsKey) {
    Settings app(kKey), other("Software\\Maker\\Other");
    EXPECT_EQ(app.read(), "");
    ASSERT_EQ(app.store_iso_name("de-DE"), nlsERROR_NONE);
    EXPECT_EQ(app.read(), "de-DE");
    EXPECT_EQ(Settings("SOFTWARE\\maker\\app").read(), "de-DE");
    EXPECT_EQ(other.read(), "");

    // A key without the value holds no language; a value of another type is read as text.
    ASSERT_NE(apRegistry(apHKEY_CURRENT_USER).create_key("Software\\Maker\\Other"), 0);
    EXPECT_EQ(other.read(), "");
    ASSERT_NE(
        apRegistry(apHKEY_CURRENT_USER)
            .set_value_data("Software\\Maker\\Other", "CurrentLanguage", apREG_NONE, "German"),
        0);
    EXPECT_EQ(other.read(), "German");

    ASSERT_EQ(app.store_iso_name(utString()), nlsERROR_NONE);
    EXPECT_EQ(app.read(), "");
}

constexpr int kWrites = 300;

/// Writes 1 to kWrites under `key`, reading each back; true when nothing failed or was lost.
bool write_and_check(const char* key) {
    Settings settings(key);
    bool good = true;
    for (int i = 1; i <= kWrites; ++i) {
        std::string number = std::to_string(i);
        utString stored;
        good = good && settings.store_iso_name(number.c_str()) == nlsERROR_NONE &&
               settings.read_stored_language(stored) == nlsERROR_NONE && number == stored.c_str();
    }
    return good;
}

TEST_F(nlsWinApplicationSettingsTest, TwoProcessesWritingAtOnceLoseNothing) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(write_and_check("Software\\Maker\\Child") ? 0 : 1);
    EXPECT_TRUE(write_and_check("Software\\Maker\\Parent"));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    EXPECT_EQ(Settings("Software\\Maker\\Child").read(), std::to_string(kWrites));
    EXPECT_EQ(Settings("Software\\Maker\\Parent").read(), std::to_string(kWrites));
}

TEST_F(nlsWinApplicationSettingsTest, KilledWriterLeavesEveryValueItCommitted) {
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(report[0]);
        Settings settings(kKey);
        for (int i = 1;; ++i) {
            if (settings.store_iso_name(std::to_string(i).c_str()) != nlsERROR_NONE) ::_exit(1);
            if (::write(report[1], &i, sizeof i) != sizeof i) ::_exit(1);
        }
    }
    ::close(report[1]);
    int last = 0, number = 0;
    while (last < 50 && ::read(report[0], &number, sizeof number) == sizeof number)
        last = number;
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    while (::read(report[0], &number, sizeof number) == sizeof number)
        last = number;
    ::close(report[0]);
    ASSERT_GE(last, 50) << "the writer stopped on its own";

    // The write in progress when it died may have committed without being reported.
    int stored = std::atoi(Settings(kKey).read().c_str());
    EXPECT_GE(stored, last);
    EXPECT_LE(stored, last + 1);
}

TEST_F(nlsWinApplicationSettingsTest, LockedStoreGivesCode1AndKeepsTheValue) {
    Settings app(kKey);
    ASSERT_EQ(app.store_iso_name("de-DE"), nlsERROR_NONE);
    {
        nlstest::StoreLock lock(store);
        ASSERT_TRUE(lock.held());
        EXPECT_EQ(app.store_iso_name("fr-FR"), nlsERROR_FAILED);
        EXPECT_EQ(app.read(nlsERROR_FAILED), "");
    }
    EXPECT_EQ(app.read(), "de-DE");
}

TEST_F(nlsWinApplicationSettingsTest, GarbageStoreGivesCode1AndStaysUnchanged) {
    const std::string garbage[] = {
        "x",
        "not a database\n",
        std::string(4096, '\x5a'),
        std::string("SQLite format 3\0", 16) + std::string(200, '\0'),
    };
    Settings app(kKey);
    for (const std::string& bytes : garbage) {
        nlstest::write_file(store, bytes);
        EXPECT_EQ(app.read(nlsERROR_FAILED), "");
        EXPECT_EQ(app.store_iso_name("de-DE"), nlsERROR_FAILED);
        EXPECT_EQ(nlstest::file_bytes(store), bytes);
        struct stat status;
        EXPECT_NE(::stat((store + "-journal").c_str(), &status), 0);
    }
}

TEST(nlsWinApplicationSettings, NoStoreLocationGivesCode1) {
    ScopedEnv registry("NLS_REGISTRY", nullptr), config("XDG_CONFIG_HOME", nullptr),
        home("HOME", nullptr);
    Settings app(kKey);
    EXPECT_EQ(app.read(nlsERROR_FAILED), "");
    EXPECT_EQ(app.store_iso_name("de-DE"), nlsERROR_FAILED);
}

} // namespace
