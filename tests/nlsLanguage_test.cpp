#include <nls/nlsLanguage.h>
#include <platform/apWinLocale.h>

#include "nlsTestSupport.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

namespace {

using nlstest::ScopedEnv;

struct Row {
    const char* name;
    const char* iso_name;
    const char* code;
    const char* translated;
    const char* codepage;
};

const Row k_rows[] = {
    {"Japanese", "ja-JP", "JPN", "Japanese", "932"},
    {"Chinese-CHN", "zh-CN", "CHS", "Chinese simplified", "936"},
    {"Korean", "ko-KR", "KOR", "Korean", "949"},
    {"Chinese-TWN", "zh-TW", "CHT", "Chinese traditional", "950"},
    {"Czech", "cs-CZ", "CSY", "Czech", "1250"},
    {"Hungarian", "hu-HU", "HUN", "Hungarian", "1250"},
    {"Polish", "pl-PL", "PLK", "Polish", "1250"},
    {"Slovak", "sk-SK", "CSY", "Slovak", "1250"},
    {"Russian", "ru-RU", "RUS", "Russian", "1251"},
    {"English", "en-US", "ENU", "English", "1252"},
    {"French", "fr-FR", "FRA", "French", "1252"},
    {"German", "de-DE", "DEU", "German", "1252"},
    {"Italian", "it-IT", "ITA", "Italian", "1252"},
    {"Portuguese", "pt-PT", "PTB", "Portuguese", "1252"},
    {"Portuguese-BRA", "pt-BR", "PTB", "Portuguese Brazil", "1252"},
    {"Spanish", "es-ES", "ESP", "Spanish", "1252"},
    {"Turkish", "tr-TR", "TRK", "Turkish", "1254"},
};

std::string text(const utString& s) {
    return s.c_str();
}

std::string with_case(std::string s, int (*fn)(int)) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [fn](char c) { return char(fn((unsigned char)c)); });
    return s;
}

void expect_unknown(const nlsLanguage& record, const std::string& name) {
    EXPECT_EQ(text(record.name()), name);
    EXPECT_EQ(record.iso_name().length(), 0);
    EXPECT_EQ(record.akn_code().length(), 0);
    EXPECT_EQ(record.translated_name().length(), 0);
    ScopedEnv user("NLS_USER_LOCALE", "en-GB");
    EXPECT_FALSE(record.is_codepage_compatible());
}

TEST(nlsLanguage, TheSeventeenRowsByNameAndIsoNameInAnyCase) {
    for (const Row& row : k_rows) {
        for (const std::string& key :
             {std::string(row.name), with_case(row.name, ::tolower), with_case(row.name, ::toupper),
              std::string(row.iso_name), with_case(row.iso_name, ::tolower)}) {
            SCOPED_TRACE(key);
            nlsLanguage record(key.c_str());
            EXPECT_EQ(text(record.name()), row.name);
            EXPECT_EQ(text(record.iso_name()), row.iso_name);
            EXPECT_EQ(text(record.akn_code()), row.code);
            EXPECT_EQ(text(record.translated_name()), row.translated);
            EXPECT_EQ(record.has_extension(), std::string(row.name).find('-') != std::string::npos);
            EXPECT_FALSE(record.empty());
        }
        // The row's code page is that of its own Windows locale, whose English language name is
        // the row's short name: the user's regional settings lead back to the row.
        ScopedEnv user("NLS_USER_LOCALE", row.iso_name);
        EXPECT_TRUE(nlsLanguage(row.name).is_codepage_compatible()) << row.name;
        char language[256];
        ASSERT_GT(GetLocaleInfoU(GetUserDefaultLCID(), LOCALE_SENGLANGUAGE, language, 256), 0);
        EXPECT_EQ(std::string(row.name).substr(0, std::string(row.name).find('-')), language);
    }
}

TEST(nlsLanguage, UnknownNamesKeepOnlyTheName) {
    const std::string long_name(10000, 'g');
    for (const std::string& name : {std::string("DEU"), std::string("Chinese simplified"),
                                    std::string(" German"), std::string("Latin"), long_name})
        expect_unknown(nlsLanguage(name.c_str()), name);
    EXPECT_FALSE(nlsLanguage("DEU").has_extension());

    EXPECT_TRUE(nlsLanguage().empty());
    EXPECT_TRUE(nlsLanguage("").empty());
    EXPECT_TRUE(nlsLanguage(nullptr).empty());
    EXPECT_FALSE(nlsLanguage(nullptr).has_extension());
}

TEST(nlsLanguage, ShortFormDropsTheExtensionIntoOneSharedRecord) {
    nlsLanguage english_gbr("English-GBR");
    expect_unknown(english_gbr, "English-GBR");
    EXPECT_TRUE(english_gbr.has_extension());

    const nlsLanguage& shared = english_gbr.short_form();
    EXPECT_EQ(text(shared.name()), "English");
    EXPECT_EQ(text(shared.iso_name()), "en-US");
    EXPECT_EQ(text(shared.akn_code()), "ENU");

    EXPECT_EQ(&nlsLanguage("English \t-GBR").short_form(), &shared);
    EXPECT_EQ(text(shared.name()), "English");
    EXPECT_EQ(text(nlsLanguage("Portuguese-BRA").short_form().iso_name()), "pt-PT");
    expect_unknown(nlsLanguage("Chinese-TWN").short_form(), "Chinese");
    EXPECT_TRUE(nlsLanguage("-GBR").short_form().empty());

    nlsLanguage("Slovak-SVK").short_form();
    EXPECT_EQ(text(nlsLanguage("German").short_form().name()), "Slovak"); // no hyphen: unchanged
}

TEST(nlsLanguage, EqualityComparesNamesExactly) {
    EXPECT_TRUE(nlsLanguage("German") == nlsLanguage("german"));
    EXPECT_TRUE(nlsLanguage("German") == nlsLanguage("de-DE"));
    EXPECT_TRUE(nlsLanguage("Latin") != nlsLanguage("latin"));
    EXPECT_TRUE(nlsLanguage("Czech") != nlsLanguage("Slovak")); // same code, other name
    EXPECT_TRUE(nlsLanguage() == nlsLanguage());
}

TEST(nlsLanguage, CodePageCompatibilityFollowsTheUsersLocale) {
    struct Case {
        const char* user_locale;
        const char* compatible_codepage;
    } cases[] = {{"en-GB", "1252"},
                 {"de_AT.UTF-8", "1252"},
                 {"ja-JP", "932"},
                 {"pl-PL", "1250"},
                 {"hi-IN", nullptr}};
    for (const Case& c : cases) {
        ScopedEnv user("NLS_USER_LOCALE", c.user_locale);
        for (const Row& row : k_rows)
            EXPECT_EQ(nlsLanguage(row.name).is_codepage_compatible(),
                      c.compatible_codepage && std::string(row.codepage) == c.compatible_codepage)
                << c.user_locale << " " << row.name;
    }
}

} // namespace
