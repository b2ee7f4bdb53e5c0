// GetLocaleInfoU on Windows' own locale data.

#include <platform/apWinLocale.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

// A British user: code page 1252.
TEST(GetLocaleInfoU, GivesTextInTheAnsiCodePageOrNothing) {
    ASSERT_EQ(GetACP(), 1252u);
    char buffer[64] = "untouched";
    EXPECT_EQ(GetLocaleInfoU(0x040C, LOCALE_SNATIVELANGNAME, buffer, sizeof buffer), 9);
    EXPECT_STREQ(buffer, "fran\xE7"
                         "ais");
    // Japanese has no character in code page 1252: no text rather than question marks.
    EXPECT_EQ(GetLocaleInfoU(0x0411, LOCALE_SNATIVELANGNAME, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetLocaleInfoU(LOCALE_USER_DEFAULT, LOCALE_SABBREVCTRYNAME, buffer, sizeof buffer),
              4);
    EXPECT_STREQ(buffer, "GBR");
}

// The runner chooses each run's user through LC_ALL ("de_AT.UTF-8"): Windows must report that
// user, or the EachUser tests would run for nobody.
TEST(UserLocale, IsTheOneTheRunnerChoseForEachUser) {
    const char* chosen = std::getenv("LC_ALL");
    ASSERT_NE(chosen, nullptr);
    std::string expected(chosen, std::strcspn(chosen, "."));
    std::replace(expected.begin(), expected.end(), '_', '-');
    wchar_t user[LOCALE_NAME_MAX_LENGTH];
    ASSERT_GT(GetUserDefaultLocaleName(user, LOCALE_NAME_MAX_LENGTH), 0);
    EXPECT_EQ(std::wstring(user), std::wstring(expected.begin(), expected.end()));
}

} // namespace
