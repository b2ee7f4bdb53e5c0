// The POSIX stand-ins: the user's locale.

#include <platform/internal/apLocale.h>

#include "nlsTestSupport.h"

namespace {

using nlstest::ScopedEnv;
using StandIns = nlstest::StateSavingTest;

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
