// The POSIX stand-ins of Windows' locale functions.

#include <platform/internal/apWinLocale.h>

#include "nlsManagerTestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using nlstest::ScopedEnv;
using StandIns = nlstest::StateSavingTest;

TEST_F(StandIns, UserDefaultLcidIsTheFirstKnownLocaleOfTheEnvironment) {
    const std::string long_value(10000, 'x'), long_codeset = "de_DE." + long_value;
    const struct {
        const char *user, *lc_all, *lc_messages, *lang;
        LCID expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, 0x0409},
        {"", "C", "", "de_DE@euro", 0x0407},
        {nullptr, "POSIX", "it_CH.ISO-8859-1", "de_DE", 0x0810},
        // Not locales: a name with more, a language name, a bare one; es_ES is not es-ES_tradnl.
        {"en-GB-x", "German", "de", "es_ES", 0x0C0A},
        {long_value.c_str(), "\xff\x01garbage", long_value.c_str(), long_codeset.c_str(), 0x0407},
    };
    for (const auto& c : cases) {
        ScopedEnv user("NLS_USER_LOCALE", c.user), all("LC_ALL", c.lc_all),
            messages("LC_MESSAGES", c.lc_messages), lang("LANG", c.lang);
        EXPECT_EQ(GetUserDefaultLCID(), c.expected) << (&c - cases);
    }
}

} // namespace
