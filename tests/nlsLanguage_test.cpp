#include <nls/nlsLanguage.h>

#include "nlsManagerTestSupport.h"

#include <cctype>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace {

struct Row {
    const char *name, *iso, *code, *translated, *code_page;
};

// The table as it stands, stated here rather than read from the library.
constexpr Row kRows[] = {
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

TEST(nlsLanguage, RowsAreFoundByNameOrIsoNameInAnyCase) {
    for (const Row& row : kRows)
        for (std::string asked : {row.name, row.iso}) {
            for (char& c : asked)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            nlsLanguage found(asked.c_str());
            EXPECT_STREQ(found.name().c_str(), row.name) << asked;
            EXPECT_STREQ(found.iso_name().c_str(), row.iso) << asked;
            EXPECT_STREQ(found.akn_code().c_str(), row.code) << asked;
            EXPECT_STREQ(found.translated_name().c_str(), row.translated) << asked;
        }
}

using LanguageForUser = nlstest::StateSavingTest;

TEST_F(LanguageForUser, CodePageMustBeTheUsersForEachUser) {
    // Users whose Windows locale has each code page; on Windows only the one the process
    // started with is active.
    const std::pair<const char*, const char*> users[] = {
        {"en-GB", "1252"}, {"de-DE", "1252"}, {"de-AT", "1252"}, {"ja-JP", "932"},
        {"cs-CZ", "1250"}, {"tr-TR", "1254"}};
    for (const auto& [user, code_page] : users) {
        nlstest::ScopedUser as(user);
        if (!as.active()) continue;
        for (const Row& row : kRows)
            EXPECT_EQ(nlsLanguage(row.name).is_codepage_compatible(),
                      std::string(row.code_page) == code_page)
                << user << " " << row.name;
    }
}

TEST_F(LanguageForUser, UnknownNamesKeepOnlyTheName) {
    nlstest::ScopedUser british("en-GB");
    for (const std::string& name : {std::string("DEU"), std::string(9999, 'g')}) {
        nlsLanguage record(name.c_str());
        EXPECT_TRUE(record.name().c_str() == name && record.iso_name().empty()) << name;
        EXPECT_FALSE(record.is_codepage_compatible());
    }
}

// The part before "-", blanks trimmed.
TEST(nlsLanguage, ShortFormDropsTheCountry) {
    EXPECT_STREQ(nlsLanguage("English - GBR").short_form().iso_name().c_str(), "en-US");
}

} // namespace
