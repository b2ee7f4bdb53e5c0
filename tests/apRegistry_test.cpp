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

class apRegistryTest : public testing::Test {
protected:
    nlstest::TempDir dir;
    ScopedEnv env{"NLS_REGISTRY", (dir / "registry.db").c_str()};
};

TEST_F(apRegistryTest, KeysAndValueNamesIgnoreLetterCase) {
    apRegistry writer(apHKEY_CURRENT_USER);
    ASSERT_NE(writer.create_key("Software\\Maker\\App"), 0);
    EXPECT_NE(writer.create_key("SOFTWARE\\maker\\app\\"), 0); // it exists already
    EXPECT_NE(writer.set_value_data("Software\\Maker\\App", "Language", apREG_STRING, "de"), 0);
    EXPECT_NE(writer.set_value_data("software\\MAKER\\App", "LANGUAGE", apREG_STRING, "fr"), 0);

    apRegistry reader(apHKEY_CURRENT_USER);
    // A key exists with the keys above it; only whole names match.
    for (const char* key : {"software\\MAKER\\app\\", "SOFTWARE\\Maker"})
        EXPECT_EQ(reader.key_exists(key), 1) << key;
    for (const char* key : {"Software\\Mak", "Software\\Maker\\Apps", "Software\\Maker\\App\\Sub"})
        EXPECT_EQ(reader.key_exists(key), 0) << key;

    apValueType type = apREG_NONE;
    EXPECT_EQ(reader.value_exists("SOFTWARE\\Maker\\App", "language", type), 1);
    EXPECT_EQ(type, apREG_STRING);
    utString data;
    EXPECT_NE(reader.value_data("Software\\Maker\\App", "Language", data), 0);
    EXPECT_STREQ(data.c_str(), "fr");
    EXPECT_EQ(reader.value_exists("Software\\Maker", "Language", type), 0);
    EXPECT_EQ(type, apREG_NONE);
}

TEST_F(apRegistryTest, ReadsAndRefusedWritesCreateNoStore) {
    ScopedEnv nested("NLS_REGISTRY", (dir / "sub/registry.db").c_str());
    apRegistry registry(apHKEY_CURRENT_USER);
    // Paths that name no key.
    for (const char* key : {"", "\\", "\\Software", "Software\\\\Maker"}) {
        EXPECT_EQ(registry.create_key(key), 0) << key;
        EXPECT_EQ(registry.set_value_data(key, "Language", apREG_STRING, "de"), 0) << key;
    }
    apValueType type;
    utString data;
    EXPECT_EQ(registry.key_exists("Software"), 0);
    EXPECT_EQ(registry.value_exists("Software", "Language", type), 0);
    EXPECT_EQ(registry.value_data("Software", "Language", data), 0);
    EXPECT_FALSE(exists(dir / "sub"));
}

TEST_F(apRegistryTest, StoreLocationFollowsTheEnvironment) {
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
