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

TEST_F(nlsWinApplicationSettingsTest, LockedOrUnusableStoreGivesCode1AndStaysUnchanged) {
    ASSERT_EQ(app.store_iso_name("de-DE"), nlsERROR_NONE);
    // Another writer in the middle of its transaction: a write gives up in the end.
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(store.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(app.store_iso_name("fr-FR"), nlsERROR_FAILED);
    EXPECT_EQ(app.read(), "de-DE");
    sqlite3_close(writer);
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
