// The POSIX store: where it lives, what makes it, writers in other processes, locks.

#include <platform/apRegistry.h>
#include <platform/internal/apRegistryLock.h>

#include "nlsManagerTestSupport.h"
#include "nlsSettingsProbe.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sqlite3.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Settings = nlstest::SettingsProbe;

class nlsWinApplicationSettingsTest : public nlstest::StateSavingTest {
protected:
    nlstest::TempDir dir;
    std::string store = dir / "registry.db";
    nlstest::ScopedEnv env{"NLS_REGISTRY", store.c_str()};
    Settings app{"Software\\Maker\\App"};
};

std::string file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

// Made by the first write, not by a read.
TEST_F(nlsWinApplicationSettingsTest, StoreLivesWhereTheEnvironmentSays) {
    const std::string config = dir / "config", home = dir / "home";
    const struct {
        const char *name, *registry, *config;
        std::string store;
    } rows[] = {
        {"NLS_REGISTRY", store.c_str(), config.c_str(), store},
        {"XDG_CONFIG_HOME", "", config.c_str(), config + "/nls/registry.db"},
        {"relative XDG_CONFIG_HOME", nullptr, "config", home + "/.config/nls/registry.db"},
    };
    nlstest::ScopedEnv home_env("HOME", home.c_str());
    for (const auto& row : rows) {
        nlstest::ScopedEnv registry("NLS_REGISTRY", row.registry),
            xdg("XDG_CONFIG_HOME", row.config);
        EXPECT_FALSE(apRegistry(apHKEY_CURRENT_USER).key_exists("Software") || exists(row.store))
            << row.name;
        EXPECT_NE(apRegistry(apHKEY_CURRENT_USER).create_key("Software"), 0) << row.name;
        EXPECT_TRUE(exists(row.store)) << row.name;
    }
}

TEST_F(nlsWinApplicationSettingsTest, StoreIsNeverMadeThroughALinkOrAtAFifo) {
    const std::string target = dir / "target.db", link = dir / "link.db", fifo = dir / "fifo.db";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()) | ::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(10); // ends the process if an open waits for a writer
    for (const std::string& at : {link, fifo}) {
        nlstest::ScopedEnv location("NLS_REGISTRY", at.c_str());
        apRegistry registry(apHKEY_CURRENT_USER);
        EXPECT_EQ(registry.key_exists("Software"), at == link ? 0 : -1) << at;
        EXPECT_EQ(registry.create_key("Software"), 0) << at;
    }
    ::alarm(0);
    EXPECT_FALSE(exists(target));
}

// Writers in other processes, each on its own key, end by _exit: every write commits at once.
TEST_F(nlsWinApplicationSettingsTest, ConcurrentWritersAllSucceed) {
    constexpr int kWriters = 4, kWrites = 500;
    auto writer = [](int w) { return Settings(("Software\\W" + std::to_string(w)).c_str()); };
    pid_t writers[kWriters];
    for (int w = 0; w < kWriters; ++w) {
        writers[w] = ::fork();
        if (writers[w] == 0) {
            Settings own = writer(w);
            int failed = 0;
            for (int i = 1; i <= kWrites; ++i)
                failed += own.store_iso_name(std::to_string(i).c_str()) != nlsERROR_NONE;
            ::_exit(failed < 100 ? failed : 100);
        }
    }
    for (int i = 1; i <= 300; ++i) {
        EXPECT_EQ(app.store_iso_name(std::to_string(i).c_str()), nlsERROR_NONE);
        EXPECT_EQ(app.read(), std::to_string(i));
    }
    for (int w = 0; w < kWriters; ++w) {
        int status = -1;
        ASSERT_EQ(::waitpid(writers[w], &status, 0), writers[w]);
        EXPECT_EQ(status, 0) << "writer " << w; // exited with no failed write
        EXPECT_EQ(writer(w).read(), std::to_string(kWrites));
    }
}

// Another writer in the middle of its transaction: a write gives up once the wait is over.
TEST_F(nlsWinApplicationSettingsTest, WriteToALockedStoreGivesCode1) {
    ASSERT_EQ(app.store_iso_name("de-DE"), nlsERROR_NONE);
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(store.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    ap_set_registry_lock_wait(20);
    EXPECT_EQ(app.store_iso_name("fr-FR"), nlsERROR_FAILED);
    EXPECT_EQ(app.read(), "de-DE");
    sqlite3_close(writer);
}

TEST_F(nlsWinApplicationSettingsTest, UnusableStoreGivesCode1) {
    nlstest::write_file(store, "x"); // no database
    EXPECT_EQ(app.read(nlsERROR_FAILED), "");
    EXPECT_EQ(app.store_iso_name("de-DE"), nlsERROR_FAILED);
    EXPECT_EQ(file_bytes(store), "x");
    // No store at all when neither NLS_REGISTRY nor HOME names a place for it.
    nlstest::ScopedEnv registry("NLS_REGISTRY", nullptr), config("XDG_CONFIG_HOME", nullptr),
        home("HOME", nullptr);
    EXPECT_EQ(app.read(nlsERROR_FAILED), "");
    EXPECT_EQ(app.store_iso_name("de-DE"), nlsERROR_FAILED);
}

TEST_F(nlsWinApplicationSettingsTest, SetUserIdProgramHasNoStore) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make a program set-user-ID for another";
    // Run as nobody; every variable that could name its store names one anybody may write.
    const std::string probe = dir / "probe", open_folder = dir / "open";
    nlstest::write_file(probe, file_bytes(NLS_SETUID_PROBE));
    ASSERT_EQ(::mkdir(open_folder.c_str(), 0777) | ::chmod(open_folder.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chown(probe.c_str(), 65534, 65534) | ::chmod(probe.c_str(), 04755), 0);
    nlstest::ScopedEnv registry("NLS_REGISTRY", (open_folder + "/registry.db").c_str()),
        config("XDG_CONFIG_HOME", open_folder.c_str()), home("HOME", open_folder.c_str());
    std::string line = nlstest::run(probe, "").out;
    line.resize(line.find('\n') + 1); // a sanitizer's notes on standard error may follow
    if (line.rfind("secure 1", 0) != 0) GTEST_SKIP() << "no set-user-ID here: " << line;
    EXPECT_EQ(line, "secure 1 code 1\n");
    EXPECT_NE(::access((open_folder + "/registry.db").c_str(), F_OK), 0);
}

} // namespace
