// The registry's POSIX store: where it lives, and that reads create nothing.

#include <platform/apRegistry.h>

#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <string>
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

} // namespace
