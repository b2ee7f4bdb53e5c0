#include <platform/apRegistry.h>

#include "nlsTestSupport.h"
#include "registryTestSupport.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace {

using namespace std::chrono_literals;
using nlstest::ScopedEnv;
using nlstest::TempDir;

bool exists(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0;
}

class apRegistryTest : public testing::Test {
protected:
    TempDir dir;
    std::string store = dir / "registry.db";
    ScopedEnv env{"NLS_REGISTRY", store.c_str()};
};

TEST_F(apRegistryTest, KeysAndValuesIgnoreLetterCase) {
    {
        apRegistry writer(apHKEY_CURRENT_USER);
        ASSERT_NE(writer.create_key("Software\\Maker\\App"), 0);
        EXPECT_NE(writer.create_key("SOFTWARE\\maker\\app\\"), 0);
        EXPECT_NE(
            writer.set_value_data("Software\\Maker\\App", "CurrentLanguage", apREG_STRING, "de-DE"),
            0);
        EXPECT_NE(
            writer.set_value_data("software\\MAKER\\App", "CURRENTLANGUAGE", apREG_STRING, "fr-FR"),
            0);
    }
    apRegistry reader(apHKEY_CURRENT_USER);
    const struct {
        const char* key;
        int exists;
    } keys[] = {
        {"Software\\Maker\\App", 1},
        {"software\\MAKER\\app\\", 1},
        {"Software", 1},
        {"SOFTWARE\\Maker", 1},
        {"Soft", 0},
        {"Software\\Mak", 0},
        {"Software\\Maker\\Apps", 0},
        {"Software\\Maker\\App\\Sub", 0},
        {"", 0},
        {"\\Software", 0},
        {"Software\\\\Maker", 0},
    };
    for (const auto& row : keys)
        EXPECT_EQ(reader.key_exists(row.key), row.exists) << row.key;

    apValueType type = apREG_NONE;
    EXPECT_EQ(reader.value_exists("SOFTWARE\\Maker\\App", "currentlanguage", type), 1);
    EXPECT_EQ(type, apREG_STRING);
    utString data;
    EXPECT_NE(reader.value_data("Software\\Maker\\App", "CurrentLanguage", data), 0);
    EXPECT_STREQ(data.c_str(), "fr-FR");

    EXPECT_EQ(reader.value_exists("Software\\Maker\\App", "Other", type), 0);
    EXPECT_EQ(type, apREG_NONE);
    EXPECT_EQ(reader.value_exists("Software\\Maker", "CurrentLanguage", type), 0);
    EXPECT_EQ(reader.value_data("Software\\Maker", "CurrentLanguage", data), 0);
    EXPECT_STREQ(data.c_str(), "fr-FR");
}

TEST_F(apRegistryTest, LongPathsAndDataKeepEveryByte) {
    std::string key;
    for (int i = 0; i < 20000; ++i)
        key += i ? "\\%_" : "%_";
    const std::string data(1 << 20, '\xe9');
    ASSERT_NE(apRegistry(apHKEY_CURRENT_USER)
                  .set_value_data(key.c_str(), key.c_str(), apREG_STRING, data.c_str()),
              0);
    apRegistry reader(apHKEY_CURRENT_USER);
    utString stored;
    EXPECT_EQ(reader.key_exists(key.c_str()), 1);
    EXPECT_EQ(reader.key_exists(key.substr(0, key.size() - 1).c_str()), 0);
    ASSERT_NE(reader.value_data(key.c_str(), key.c_str(), stored), 0);
    EXPECT_TRUE(data == stored.c_str());
}

TEST_F(apRegistryTest, PathsThatNameNoKeyAreRefusedWithoutCreatingTheStore) {
    apRegistry registry(apHKEY_CURRENT_USER);
    for (const char* key : {"", "\\", "\\Software", "Software\\\\Maker"}) {
        EXPECT_EQ(registry.create_key(key), 0) << key;
        EXPECT_EQ(registry.set_value_data(key, "CurrentLanguage", apREG_STRING, "de-DE"), 0) << key;
    }
    EXPECT_FALSE(exists(store));
}

TEST_F(apRegistryTest, ReadingAMissingStoreFindsNothingAndCreatesNothing) {
    ScopedEnv nested("NLS_REGISTRY", (dir / "sub/registry.db").c_str());
    apRegistry registry(apHKEY_CURRENT_USER);
    apValueType type;
    utString data;
    EXPECT_EQ(registry.key_exists("Software"), 0);
    EXPECT_EQ(registry.value_exists("Software", "CurrentLanguage", type), 0);
    EXPECT_EQ(registry.value_data("Software", "CurrentLanguage", data), 0);
    EXPECT_FALSE(exists(dir / "sub"));
}

TEST(apRegistry, StoreLocationFollowsTheEnvironment) {
    // A leading '/' stands for the test's folder; null unsets the variable.
    const struct {
        const char* registry;
        const char* config;
        const char* home;
        const char* store;
    } rows[] = {
        {"/own/store.db", "/config", "/home", "/own/store.db"},
        {"", "/config", "/home", "/config/nls/registry.db"},
        {nullptr, "/config", "/home", "/config/nls/registry.db"},
        {nullptr, "config", "/home", "/home/.config/nls/registry.db"},
        {nullptr, nullptr, "/home", "/home/.config/nls/registry.db"},
        {nullptr, nullptr, nullptr, nullptr},
        {nullptr, "config", "", nullptr},
    };
    for (const auto& row : rows) {
        TempDir dir;
        auto place = [&](const char* value) {
            return value && value[0] == '/' ? dir.path() + value : std::string(value ? value : "");
        };
        std::string registry = place(row.registry), config = place(row.config),
                    home = place(row.home);
        ScopedEnv env1("NLS_REGISTRY", row.registry ? registry.c_str() : nullptr);
        ScopedEnv env2("XDG_CONFIG_HOME", row.config ? config.c_str() : nullptr);
        ScopedEnv env3("HOME", row.home ? home.c_str() : nullptr);
        SCOPED_TRACE(row.store ? row.store : "no store");

        apRegistry accessor(apHKEY_CURRENT_USER);
        EXPECT_EQ(accessor.create_key("Software") != 0, row.store != nullptr);
        if (row.store) {
            EXPECT_TRUE(exists(place(row.store)));
        } else {
            EXPECT_EQ(apRegistry(apHKEY_CURRENT_USER).key_exists("Software"), -1);
        }
    }
}

TEST_F(apRegistryTest, LockedStoreIsWaitedForBrieflyThenFails) {
    {
        apRegistry registry(apHKEY_CURRENT_USER);
        ASSERT_NE(registry.set_value_data("Software", "CurrentLanguage", apREG_STRING, "de-DE"), 0);
    }
    nlstest::StoreLock lock(store);
    ASSERT_TRUE(lock.held());

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(apRegistry(apHKEY_CURRENT_USER)
                  .set_value_data("Software", "CurrentLanguage", apREG_STRING, "fr-FR"),
              0);
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 500ms);
    EXPECT_LT(waited, 5s);

    apRegistry reader(apHKEY_CURRENT_USER);
    EXPECT_EQ(reader.key_exists("Software"), -1);
    start = std::chrono::steady_clock::now();
    utString data;
    EXPECT_EQ(reader.value_data("Software", "CurrentLanguage", data), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 300ms) << "an accessor waits only once";

    lock.release();
    EXPECT_NE(apRegistry(apHKEY_CURRENT_USER).value_data("Software", "CurrentLanguage", data), 0);
    EXPECT_STREQ(data.c_str(), "de-DE");
}

TEST_F(apRegistryTest, AnotherApplicationsDatabaseIsLeftAlone) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(store.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE registry_keys(path TEXT)", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const std::string before = nlstest::file_bytes(store);

    apRegistry registry(apHKEY_CURRENT_USER);
    EXPECT_EQ(registry.create_key("Software"), 0);
    EXPECT_EQ(registry.key_exists("Software"), -1);
    EXPECT_EQ(nlstest::file_bytes(store), before);
}

} // namespace
