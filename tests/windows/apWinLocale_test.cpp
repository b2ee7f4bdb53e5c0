// GetLocaleInfoU on Windows' own locale data.

#include <platform/apWinLocale.h>

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

} // namespace
