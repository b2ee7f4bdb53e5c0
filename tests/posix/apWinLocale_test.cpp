// The POSIX stand-ins for Windows' locale functions.

#include <platform/apWinLocale.h>

#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(GetUserDefaultLCID, TakesTheFirstKnownLocaleOfTheEnvironment) {
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

TEST(EnumSystemLocalesW, GivesEachLocaleAsHexTextInAscendingOrder) {
    static std::vector<std::wstring> seen;
    seen.clear();
    auto collect = [](LPWSTR text) -> BOOL {
        seen.push_back(text);
        return TRUE;
    };
    ASSERT_EQ(EnumSystemLocalesW(collect, LCID_SUPPORTED), TRUE);
    ASSERT_GT(seen.size(), 50u);
    EXPECT_EQ(seen[0], L"00000401");
    for (std::size_t i = 1; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].size(), 8u);
        EXPECT_EQ(seen[i].find_first_not_of(L"0123456789ABCDEF"), std::wstring::npos);
        EXPECT_GT(seen[i], seen[i - 1]); // of equal width: sorted as numbers
    }
}

} // namespace
