// The registry's POSIX store: where it lives, that reads create nothing, and what it is never
// made or waited at: a dangling link, a FIFO.

#include <platform/apRegistry.h>

#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using nlstest::ScopedEnv;

bool exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

TEST(apRegistryStore, ReadsAndRefusedWritesCreateNoStore) {
    nlstest::TempDir dir;
    ScopedEnv nested("NLS_REGISTRY", (dir / "sub/registry.db").c_str());
    apRegistry registry(apHKEY_CURRENT_USER);
    apValueType type;
    utString data;
    EXPECT_EQ(registry.create_key(""), 0);
    EXPECT_EQ(registry.key_exists("Software"), 0);
    EXPECT_EQ(registry.value_exists("Software", "Language", type), 0);
    EXPECT_EQ(registry.value_data("Software", "Language", data), 0);
    EXPECT_FALSE(exists(dir / "sub"));
}

TEST(apRegistryStore, StoreLocationFollowsTheEnvironment) {
    nlstest::TempDir dir;
    const std::string own = dir / "own.db", config = dir / "config", home = dir / "home";
    const struct {
        const char *registry, *config;
        std::string store;
    } rows[] = {
        {own.c_str(), config.c_str(), own},
        {"", config.c_str(), config + "/nls/registry.db"},
        {nullptr, "config", home + "/.config/nls/registry.db"}, // a relative folder is ignored
    };
    ScopedEnv home_env("HOME", home.c_str());
    for (const auto& row : rows) {
        ScopedEnv registry("NLS_REGISTRY", row.registry), xdg("XDG_CONFIG_HOME", row.config);
        EXPECT_NE(apRegistry(apHKEY_CURRENT_USER).create_key("Software"), 0);
        EXPECT_TRUE(exists(row.store)) << row.store;
    }
}

TEST(apRegistryStore, NoStoreIsMadeThroughALinkNorWaitedForAtAFifo) {
    nlstest::TempDir dir;
    const std::string target = dir / "target.db", link = dir / "link.db", fifo = dir / "fifo.db";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(10); // ends the process if an open waits for a writer
    for (const std::string& store : {link, fifo}) {
        ScopedEnv location("NLS_REGISTRY", store.c_str());
        apRegistry registry(apHKEY_CURRENT_USER);
        EXPECT_EQ(registry.key_exists("Software"), store == link ? 0 : -1) << store;
        EXPECT_EQ(registry.create_key("Software"), 0) << store;
    }
    ::alarm(0);
    EXPECT_FALSE(exists(target));
    // A link to a store that exists is followed.
    {
        ScopedEnv location("NLS_REGISTRY", target.c_str());
        ASSERT_NE(apRegistry(apHKEY_CURRENT_USER).create_key("Software"), 0);
    }
    ScopedEnv location("NLS_REGISTRY", link.c_str());
    EXPECT_EQ(apRegistry(apHKEY_CURRENT_USER).key_exists("Software"), 1);
}

} // namespace
