#include "nlsManagerTestSupport.h"
#include "nlsSettingsProbe.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sqlite3.h>
#include <string>
#include <sys/mman.h>
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
    Settings app{"Software\\Maker\\App"}, child_app{"Software\\Maker\\Child"};
};

std::string file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(nlsWinApplicationSettingsTest, ConcurrentWritersAllSucceed) {
    constexpr int kWriters = 4, kWrites = 500;
    pid_t writers[kWriters];
    for (int w = 0; w < kWriters; ++w) {
        writers[w] = ::fork();
        if (writers[w] == 0) {
            Settings own(utString(("Software\\Maker\\Writer" + std::to_string(w)).c_str()));
            int failed = 0;
            for (int i = 1; i <= kWrites; ++i)
                failed += own.store_iso_name(std::to_string(i).c_str()) != nlsERROR_NONE;
            ::_exit(failed < 100 ? failed : 100);
        }
    }
    for (int w = 0; w < kWriters; ++w) {
        int status = -1;
        ASSERT_EQ(::waitpid(writers[w], &status, 0), writers[w]);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "writer " << w << " failed " << WEXITSTATUS(status) << " writes";
        Settings own(utString(("Software\\Maker\\Writer" + std::to_string(w)).c_str()));
        EXPECT_EQ(own.read(), std::to_string(kWrites));
    }
}

TEST_F(nlsWinApplicationSettingsTest, WritersInOtherProcessesLoseNothingEvenWhenKilled) {
    // The child's last committed value, where the parent still sees it after the kill.
    auto* committed = static_cast<volatile int*>(
        ::mmap(nullptr, sizeof(int), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (int i = 1; child_app.store_iso_name(std::to_string(i).c_str()) == nlsERROR_NONE; ++i)
            *committed = i;
        ::_exit(1);
    }
    // Once the child is writing, each value is read back at once while it writes its own key.
    for (int waited = 0; *committed == 0 && waited < 10000; ++waited)
        ::usleep(1000);
    for (int i = 1; i <= 300; ++i) {
        EXPECT_EQ(app.store_iso_name(std::to_string(i).c_str()), nlsERROR_NONE);
        EXPECT_EQ(app.read(), std::to_string(i));
    }
    // Kill the child in the middle of its writes.
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the child stopped on its own";
    EXPECT_EQ(app.read(), "300");
    // The write in progress when the child died may have committed without being counted.
    const int stored = std::stoi("0" + child_app.read());
    EXPECT_TRUE(stored == *committed || stored == *committed + 1) << stored << " " << *committed;
}

TEST_F(nlsWinApplicationSettingsTest, LockedOrUnusableStoreGivesCode1AndStaysUnchanged) {
    ASSERT_EQ(app.store_iso_name("de-DE"), nlsERROR_NONE);
    // Another writer in the middle of its transaction: a write waits for it, then gives up; a
    // read does not wait.
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(store.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(app.store_iso_name("fr-FR"), nlsERROR_FAILED);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(waited >= std::chrono::seconds(4) && waited < std::chrono::seconds(30));
    EXPECT_EQ(app.read(), "de-DE");
    sqlite3_close(writer);
    // A store that is no database.
    nlstest::write_file(store, "x");
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
    // The probe runs as nobody; the store that its environment names is one anybody could write.
    const std::string probe = dir / "probe", open_folder = dir / "open";
    nlstest::write_file(probe, file_bytes(NLS_SETUID_PROBE));
    ASSERT_EQ(::mkdir(open_folder.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(open_folder.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chown(probe.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(probe.c_str(), 04755), 0);
    // Each variable that could name the store names one there.
    nlstest::ScopedEnv registry("NLS_REGISTRY", (open_folder + "/registry.db").c_str()),
        config("XDG_CONFIG_HOME", open_folder.c_str()), home("HOME", open_folder.c_str());
    FILE* out = ::popen(probe.c_str(), "r");
    ASSERT_NE(out, nullptr);
    char line[64] = "";
    std::fgets(line, sizeof line, out);
    ::pclose(out);
    if (std::string(line).rfind("secure 1", 0) != 0)
        GTEST_SKIP() << "no set-user-ID here: " << line;
    EXPECT_STREQ(line, "secure 1 code 1\n");
    EXPECT_NE(::access((open_folder + "/registry.db").c_str(), F_OK), 0);
}

} // namespace
