// The POSIX stand-ins: the registry's store (where it lives, never made by a read, at a dangling
// link or a FIFO) and the user's locale.

#include <platform/apRegistry.h>
#include <platform/internal/apLocale.h>

#include "nlsManagerTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using nlstest::ScopedEnv;
using StandIns = nlstest::StateSavingTest;

bool exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

TEST_F(StandIns, StoreFollowsTheEnvironmentAndIsNeverMadeByAReadThroughALinkOrAtAFifo) {
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
        EXPECT_FALSE(apRegistry(apHKEY_CURRENT_USER).key_exists("Software") || exists(row.store));
        EXPECT_NE(apRegistry(apHKEY_CURRENT_USER).create_key("Software"), 0);
        EXPECT_TRUE(exists(row.store)) << row.store;
    }
    const std::string target = dir / "target.db", link = dir / "link.db", fifo = dir / "fifo.db";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()) | ::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(10); // ends the process if an open waits for a writer
    for (const std::string& store : {link, fifo}) {
        ScopedEnv location("NLS_REGISTRY", store.c_str());
        apRegistry registry(apHKEY_CURRENT_USER);
        EXPECT_EQ(registry.key_exists("Software"), store == link ? 0 : -1) << store;
        EXPECT_EQ(registry.create_key("Software"), 0) << store;
    }
    ::alarm(0);
    EXPECT_FALSE(exists(target));
}

TEST_F(StandIns, UserLocaleIsTheFirstKnownLocaleOfTheEnvironment) {
    const std::string long_value(10000, 'x'), long_codeset = "de_DE." + long_value;
    const struct {
        const char *user, *lc_all, *lc_messages, *lang;
        const char* expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, "en-US"},
        {"", "C", "", "de_DE@euro", "de-DE"},
        {nullptr, "POSIX", "it_CH.ISO-8859-1", "de_DE", "it-CH"},
        // Not locales: a name with more, a language name, a bare one; es_ES is not es-ES_tradnl.
        {"en-GB-x", "German", "de", "es_ES", "es-ES"},
        {long_value.c_str(), "\xff\x01garbage", long_value.c_str(), long_codeset.c_str(), "de-DE"},
    };
    for (const auto& c : cases) {
        ScopedEnv user("NLS_USER_LOCALE", c.user), all("LC_ALL", c.lc_all),
            messages("LC_MESSAGES", c.lc_messages), lang("LANG", c.lang);
        EXPECT_STREQ(ap_user_locale().c_str(), c.expected) << (&c - cases);
    }
}

} // namespace
