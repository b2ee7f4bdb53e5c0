// The Windows backend: locale texts, wide names, translations in the ANSI code page.

#include <nls/nlsLoadedDomain.h>
#include <platform/apFileFinder.h>
#include <platform/internal/apCharset.h>
#include <platform/internal/apLocale.h>
#include <platform/internal/apWinLocale.h>

#include "nlsTestSupport.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// A British user: code page 1252, which holds "Catálogos" but not Japanese nor an a with a
// macron, whose best fit ("German") must not stand in for it.
TEST(AnsiCodePage, LocaleTextsAndDirectoryNamesAreInItExactlyOrNotAtAll) {
    ASSERT_EQ(GetACP(), 1252u);
    char buffer[64] = "untouched";
    EXPECT_EQ(GetLocaleInfoU(0x040C, LOCALE_SNATIVELANGNAME, buffer, sizeof buffer), 9);
    EXPECT_STREQ(buffer, "fran\347ais");
    EXPECT_EQ(GetLocaleInfoU(0x0411, LOCALE_SNATIVELANGNAME, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    nlstest::TempDir dir;
    const std::wstring root(dir.path().begin(), dir.path().end());
    for (const wchar_t* name : {L"Cat\u00E1logos", L"\u65E5\u672C", L"Germ\u0101n"})
        ASSERT_TRUE(CreateDirectoryW((root + L"\\" + name).c_str(), nullptr));
    apFileFinderEx finder(apPath(utString(dir.path().c_str())));
    std::vector<std::string> names;
    while (++finder)
        names.push_back(finder().name().c_str());
    EXPECT_EQ(names, std::vector<std::string>{"Cat\xE1logos"});
    EXPECT_STREQ(apPath(utString("C:\\nls\\German\\")).basename().c_str(), "German");
    EXPECT_STREQ(apPath(utString("C:German")).basename().c_str(), "German");
}

// English names with a letter that code page 1252 lacks: its closest form for the library's
// text, '?' for names that must be ASCII.
TEST(AnsiCodePage, EnglishNamesTakeTheClosestFormOrAQuestionMark) {
    ASSERT_EQ(GetACP(), 1252u);
    const utString maori("mi-NZ");
    EXPECT_STREQ(ap_locale_field(maori, apLocaleField::english_language).c_str(), "Maori");
    EXPECT_STREQ(
        ap_locale_field(maori, apLocaleField::english_language, apLocaleText::ascii).c_str(),
        "M?ori");
}

// The runner chooses each run's user through LC_ALL, or the EachUser tests run for nobody.
TEST(UserLocale, IsTheOneTheRunnerChoseForEachUser) {
    const char* chosen = std::getenv("LC_ALL");
    ASSERT_NE(chosen, nullptr);
    std::string expected(chosen, std::strcspn(chosen, "."));
    std::replace(expected.begin(), expected.end(), '_', '-');
    wchar_t user[LOCALE_NAME_MAX_LENGTH];
    ASSERT_GT(GetUserDefaultLocaleName(user, LOCALE_NAME_MAX_LENGTH), 0);
    EXPECT_EQ(std::wstring(user), std::wstring(expected.begin(), expected.end()));
}

// The suite runs as a British user: code page 1252.
TEST(nlsLoadedDomainWindows, TranslationsComeInTheAnsiCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
    EXPECT_STREQ(ap_output_charset(), "CP1252");
    const auto c = nlstest::load(nlstest::build_mo({{"", "Content-Type: text/plain; charset=UTF-8"},
                                                    {"size", "Gr\u00f6\u00dfe 5 \u20ac \u65e5"},
                                                    {"bad", "a\xff"}}));
    const nlsLoadedDomain& d = *c->domain;
    const char *size = "size", *bad = "bad";
    EXPECT_STREQ(d.converted(d.translate(size), nullptr, size), "Gr\xf6\xdf\x65 5 \x80 ?");
    EXPECT_EQ(d.converted(d.translate(bad), nullptr, bad), bad);
    EXPECT_EQ(d.converted(d.translate(size), "UTF-8", size), d.translate(size)); // as stored
}

} // namespace
