// The POSIX store: where it lives, what makes it, writers in other processes, locks.

#include <platform/apRegistry.h>
#include <platform/internal/apRegistryLock.h>

#include "nlsTestSupport.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Settings = nlstest::SettingsProbe;

class SettingsStore : public nlstest::StateSavingTest {
protected:
    nlstest::TempDir dir;
    std::string store = dir / "registry.db";
    nlstest::ScopedEnv env{"NLS_REGISTRY", store.c_str()};
    Settings app{"Software\\Maker\\App"};
};

bool exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

// Made by the first write, not by a read; never through a link nor at a FIFO.
TEST_F(SettingsStore, StoreLivesWhereTheEnvironmentSays) {
    const std::string config = dir / "config", home = dir / "home", target = dir / "target.db";
    const std::pair<std::string, std::string> rows[] = {
        // the environment, the store
        {"NLS_REGISTRY=" + store + " XDG_CONFIG_HOME=" + config, store},
        {"NLS_REGISTRY= XDG_CONFIG_HOME=" + config, config + "/nls/registry.db"},
        {"XDG_CONFIG_HOME=config", home + "/.config/nls/registry.db"},
    };
    nlstest::ScopedEnv home_env("HOME", home.c_str()), unset("NLS_REGISTRY", nullptr);
    for (const auto& [environment, at] : rows) {
        auto scope = nlstest::scoped_env(environment);
        EXPECT_FALSE(apRegistry(apHKEY_CURRENT_USER).key_exists("Software") || exists(at)) << at;
        EXPECT_NE(apRegistry(apHKEY_CURRENT_USER).create_key("Software"), 0) << at;
        EXPECT_TRUE(exists(at)) << at;
    }
    const std::string link = dir / "link.db", fifo = dir / "fifo.db";
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
TEST_F(SettingsStore, ConcurrentWritersAllSucceed) {
    constexpr int kWriters = 4, kWrites = 500;
    auto writer = [](int w) { return Settings(("Software\\W" + std::to_string(w)).c_str()); };
    pid_t writers[kWriters];
    for (int w = 0; w < kWriters; ++w) {
        if ((writers[w] = ::fork()) != 0) continue;
        Settings own = writer(w);
        int failed = 0;
        for (int i = 1; i <= kWrites; ++i)
            failed += own.store_iso_name(std::to_string(i).c_str()) != nlsERROR_NONE;
        ::_exit(failed < 100 ? failed : 100);
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

// Another writer in the middle of its transaction: a write gives up once the wait is over. A
// file that is no database, or no place for one, fails alike and is left alone.
TEST_F(SettingsStore, StoreThatCannotBeWrittenGivesCode1) {
    ASSERT_EQ(app.store_iso_name("de-DE"), nlsERROR_NONE);
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(store.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    ap_set_registry_lock_wait(20);
    EXPECT_EQ(app.store_iso_name("fr-FR"), nlsERROR_FAILED);
    EXPECT_EQ(app.read(), "de-DE");
    sqlite3_close(writer);

    nlstest::write_file(store, "x");
    EXPECT_EQ(app.read(nlsERROR_FAILED), "");
    EXPECT_EQ(app.store_iso_name("de-DE"), nlsERROR_FAILED);
    EXPECT_EQ(nlstest::read_file(store), "x");
    auto nowhere = nlstest::scoped_env("NLS_REGISTRY XDG_CONFIG_HOME HOME");
    EXPECT_EQ(app.read(nlsERROR_FAILED), "");
    EXPECT_EQ(app.store_iso_name("de-DE"), nlsERROR_FAILED);
}

TEST_F(SettingsStore, SetUserIdProgramHasNoStore) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make a program set-user-ID for another";
    // Run as nobody; every variable that could name its store names one anybody may write.
    const std::string probe = dir / "probe", open_folder = dir / "open";
    nlstest::write_file(probe, nlstest::read_file(NLS_SETUID_PROBE));
    ASSERT_EQ(::mkdir(open_folder.c_str(), 0777) | ::chmod(open_folder.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chown(probe.c_str(), 65534, 65534) | ::chmod(probe.c_str(), 04755), 0);
    auto scope = nlstest::scoped_env("NLS_REGISTRY=" + open_folder + "/registry.db" +
                                     " XDG_CONFIG_HOME=" + open_folder + " HOME=" + open_folder);
    std::string line = nlstest::run(probe, "").out;
    line.resize(line.find('\n') + 1); // a sanitizer's notes on standard error may follow
    if (line.rfind("secure 1", 0) != 0) GTEST_SKIP() << "no set-user-ID here: " << line;
    EXPECT_EQ(line, "secure 1 code 1\n");
    EXPECT_FALSE(exists(open_folder + "/registry.db"));
}

} // namespace
