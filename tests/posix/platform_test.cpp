// The POSIX stand-ins: the registry's store (where it lives, that reads create nothing, and what
// it is never made or waited at: a dangling link, a FIFO) and Windows' locale functions.

#include <platform/apRegistry.h>
#include <platform/apWinLocale.h>

#include "nlsManagerTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using nlstest::ScopedEnv;
using RegistryStore = nlstest::StateSavingTest;
using LocaleStandIns = nlstest::StateSavingTest;

bool exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

TEST_F(RegistryStore, StoreLocationFollowsTheEnvironmentAndReadsCreateNone) {
    nlstest::TempDir dir;
    {
        ScopedEnv nested("NLS_REGISTRY", (dir / "sub/registry.db").c_str());
        apRegistry registry(apHKEY_CURRENT_USER);
        apValueType type;
        utString data;
        EXPECT_EQ(registry.create_key(""), 0); // a refused write
        EXPECT_EQ(registry.key_exists("Software"), 0);
        EXPECT_EQ(registry.value_exists("Software", "Language", type), 0);
        EXPECT_EQ(registry.value_data("Software", "Language", data), 0);
        EXPECT_FALSE(exists(dir / "sub"));
    }
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

TEST_F(RegistryStore, NoStoreIsMadeThroughALinkNorWaitedForAtAFifo) {
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

TEST_F(LocaleStandIns, UserDefaultLcidIsTheFirstKnownLocaleOfTheEnvironment) {
    const std::string long_value(10000, 'x'), long_codeset = "de_DE." + long_value;
    const struct {
        const char *user, *lc_all, *lc_messages, *lang;
        LCID expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, 0x0409},
        {"EN_gb", "de_DE.UTF-8", nullptr, nullptr, 0x0809},
        {"Latin", "fr_CA.UTF-8", "it_IT", nullptr, 0x0C0C},
        {"", "C", "", "de_DE@euro", 0x0407},
        {nullptr, "POSIX", "it_CH.ISO-8859-1", "de_DE", 0x0810},
        // Not locales: a name with more, a language name, a bare one; es_ES is not es-ES_tradnl.
        {"en-GB-x", "German", "de", "es_ES", 0x0C0A},
        {long_value.c_str(), "\xff\x01garbage", long_value.c_str(), long_codeset.c_str(), 0x0407},
    };
    for (const auto& c : cases) {
        nlstest::ScopedEnv user("NLS_USER_LOCALE", c.user), all("LC_ALL", c.lc_all),
            messages("LC_MESSAGES", c.lc_messages), lang("LANG", c.lang);
        EXPECT_EQ(GetUserDefaultLCID(), c.expected) << (c.user ? c.user : "(unset)");
    }
}

} // namespace
