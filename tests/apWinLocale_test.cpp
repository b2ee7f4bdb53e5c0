#include <platform/apWinLocale.h>

#include "nlsTestSupport.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using nlstest::ScopedEnv;

std::string info(LCID lcid, LCTYPE type) {
    char buffer[256];
    return GetLocaleInfoU(lcid, type, buffer, sizeof buffer) > 0 ? buffer : "<failed>";
}

TEST(GetUserDefaultLCID, TakesTheFirstKnownLocaleOfTheEnvironment) {
    const std::string long_value(10000, 'x');
    const std::string long_codeset = "de_DE." + long_value;
    struct Case {
        const char* user;
        const char* lc_all;
        const char* lc_messages;
        const char* lang;
        LCID expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, 0x0409},
        {"en-GB", "de_DE.UTF-8", nullptr, nullptr, 0x0809},
        {"EN_gb", nullptr, nullptr, nullptr, 0x0809},
        {"Latin", "fr_CA.UTF-8", "it_IT", nullptr, 0x0C0C},
        {"", "C", "", "de_DE@euro", 0x0407},
        {nullptr, "POSIX", "it_CH.ISO-8859-1", "de_DE", 0x0810},
        {nullptr, "German", "de", "pt_BR.UTF-8", 0x0416}, // a language name is not a locale
        {"\xff\x01garbage", "xx_YY", long_value.c_str(), "", 0x0409},
        {long_value.c_str(), nullptr, nullptr, long_codeset.c_str(), 0x0407},
        {"en-GB-x", "es_ES", nullptr, nullptr, 0x0C0A},
    };
    for (const Case& c : cases) {
        ScopedEnv user("NLS_USER_LOCALE", c.user), all("LC_ALL", c.lc_all),
            messages("LC_MESSAGES", c.lc_messages), lang("LANG", c.lang);
        EXPECT_EQ(GetUserDefaultLCID(), c.expected) << (c.user ? c.user : "(unset)");
    }
}

TEST(GetLocaleInfoU, AnswersEachTypeAndTheUserDefault) {
    EXPECT_EQ(info(0x0809, LOCALE_SENGLANGUAGE), "English");
    EXPECT_EQ(info(0x0809, LOCALE_SABBREVLANGNAME), "ENG");
    EXPECT_EQ(info(0x0809, LOCALE_SABBREVCTRYNAME), "GBR");
    EXPECT_EQ(info(0x0809, LOCALE_SISO639LANGNAME), "en");
    EXPECT_EQ(info(0x0809, LOCALE_SISO3166CTRYNAME), "GB");
    EXPECT_EQ(info(0x0809, LOCALE_SNAME), "en-GB");
    EXPECT_EQ(info(0x0809, LOCALE_IDEFAULTANSICODEPAGE), "1252");
    EXPECT_EQ(info(0x0439, LOCALE_IDEFAULTANSICODEPAGE), "0"); // Unicode-only

    ScopedEnv user("NLS_USER_LOCALE", "zh_CN");
    EXPECT_EQ(info(LOCALE_USER_DEFAULT, LOCALE_SABBREVLANGNAME), "CHS");
    EXPECT_EQ(info(GetUserDefaultLCID(), LOCALE_IDEFAULTANSICODEPAGE), "936");
}

TEST(GetLocaleInfoU, FailsOnUnknownLocalesTypesAndSmallBuffers) {
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetLocaleInfoU(0x0809, LOCALE_SENGLANGUAGE, buffer, 7), 0); // "English" needs 8
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(std::string(buffer + 1, 15), std::string(15, 'x'));
    EXPECT_EQ(GetLocaleInfoU(0x0809, LOCALE_SENGLANGUAGE, buffer, 8), 8);
    EXPECT_STREQ(buffer, "English");

    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetLocaleInfoU(0x0809, LOCALE_SENGLANGUAGE, buffer, 0), 8); // size query
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(GetLocaleInfoU(0x0809, LOCALE_SENGLANGUAGE, nullptr, 16), 0);
    EXPECT_EQ(GetLocaleInfoU(0x0809, LOCALE_SENGLANGUAGE, buffer, -1), 0);
    for (LCTYPE type : {0x0000u, 0x1002u, 0xFFFFu, 0x80001001u}) {
        buffer[0] = 'x';
        EXPECT_EQ(GetLocaleInfoU(0x0809, type, buffer, 16), 0) << type;
        EXPECT_EQ(buffer[0], '\0');
    }
    for (LCID lcid : {0x0000u, 0x0476u, 0xFFFFFFFFu})
        EXPECT_EQ(GetLocaleInfoU(lcid, LOCALE_SENGLANGUAGE, buffer, 16), 0) << lcid;
}

std::vector<std::wstring> g_enumerated;

TEST(EnumSystemLocalesW, GivesEachLocaleOnceAsHexTextInAscendingOrder) {
    auto collect = [](LPWSTR text) -> BOOL {
        g_enumerated.push_back(text);
        return TRUE;
    };
    ASSERT_EQ(EnumSystemLocalesW(collect, LCID_SUPPORTED), TRUE);
    ASSERT_GT(g_enumerated.size(), 50u);

    LCID previous = 0;
    std::vector<std::string> names;
    for (const std::wstring& text : g_enumerated) {
        ASSERT_EQ(text.size(), 8u);
        ASSERT_EQ(text.find_first_not_of(L"0123456789ABCDEF"), std::wstring::npos);
        LCID lcid = static_cast<LCID>(std::wcstoul(text.c_str(), nullptr, 16));
        EXPECT_GT(lcid, previous);
        previous = lcid;
        // Each locale's data hangs together: its name starts with its ISO codes and finds it back.
        std::string name = info(lcid, LOCALE_SNAME);
        EXPECT_EQ(name.rfind(info(lcid, LOCALE_SISO639LANGNAME) + "-" +
                                 info(lcid, LOCALE_SISO3166CTRYNAME),
                             0),
                  0u)
            << name;
        EXPECT_EQ(ap_locale_name_to_lcid(name.c_str()), lcid);
        EXPECT_EQ(info(lcid, LOCALE_SABBREVLANGNAME).size(), 3u) << name;
        EXPECT_EQ(info(lcid, LOCALE_SABBREVCTRYNAME).size(), 3u) << name;
        EXPECT_NE(info(lcid, LOCALE_SENGLANGUAGE), "Latin");
        names.push_back(name);
    }
    EXPECT_EQ(g_enumerated[0], L"00000401");
    for (const char* name :
         {"en-GB", "en-US", "en-AU", "en-CA", "en-IE", "en-NZ", "de-DE", "de-AT", "de-CH",
          "fr-FR", "fr-BE", "fr-CA", "fr-CH", "it-IT", "it-CH", "es-ES", "es-MX", "pt-PT",
          "pt-BR", "zh-CN", "zh-TW", "zh-HK", "zh-SG", "ja-JP", "ko-KR", "ru-RU", "nl-NL",
          "nl-BE", "sv-SE", "pl-PL", "cs-CZ", "hu-HU", "sk-SK", "tr-TR"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;

    g_enumerated.clear();
    auto stop = [](LPWSTR text) -> BOOL {
        g_enumerated.push_back(text);
        return FALSE;
    };
    EXPECT_EQ(EnumSystemLocalesW(stop, LCID_INSTALLED), TRUE);
    EXPECT_EQ(g_enumerated.size(), 1u);
    EXPECT_EQ(EnumSystemLocalesW(stop, 0), FALSE);
    EXPECT_EQ(EnumSystemLocalesW(nullptr, LCID_SUPPORTED), FALSE);
}

TEST(GetLocaleInfoEx, AnswersByWideLocaleName) {
    wchar_t buffer[100];
    EXPECT_EQ(GetLocaleInfoEx(L"en-GB", LOCALE_SABBREVLANGNAME, buffer, 100), 4);
    EXPECT_STREQ(buffer, L"ENG");
    EXPECT_EQ(GetLocaleInfoEx(L"DE-at", LOCALE_SABBREVLANGNAME, buffer, 100), 4);
    EXPECT_STREQ(buffer, L"DEA");
    EXPECT_EQ(GetLocaleInfoEx(L"pt-BR", LOCALE_SABBREVLANGNAME, buffer, 3), 0);
    EXPECT_STREQ(buffer, L"");

    const std::wstring long_name(10000, L'e');
    for (const wchar_t* name : {L"", L"la-VA", L"en-GB ", L"\u00e9n-GB", long_name.c_str()})
        EXPECT_EQ(GetLocaleInfoEx(name, LOCALE_SABBREVLANGNAME, buffer, 100), 0);

    ScopedEnv user("NLS_USER_LOCALE", "de-CH");
    EXPECT_EQ(GetLocaleInfoEx(nullptr, LOCALE_SABBREVLANGNAME, buffer, 100), 4);
    EXPECT_STREQ(buffer, L"DES");
}

} // namespace
