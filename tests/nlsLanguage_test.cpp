#include <nls/nlsLanguage.h>

#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

enum { Name, Iso, Code, Translated, Ansi }; // Ansi: the ANSI code page

const char* const k_rows[][5] = {
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

TEST(nlsLanguage, TheSeventeenRowsByNameOrIsoNameInAnyCase) {
    for (const auto& row : k_rows) {
        nlsLanguage record(row[Name]);
        EXPECT_STREQ(record.iso_name().c_str(), row[Iso]);
        EXPECT_STREQ(record.akn_code().c_str(), row[Code]);
        EXPECT_STREQ(record.translated_name().c_str(), row[Translated]);
    }
    EXPECT_STREQ(nlsLanguage("CHINESE-twn").name().c_str(), "Chinese-TWN");
    EXPECT_STREQ(nlsLanguage("PT-br").name().c_str(), "Portuguese-BRA");
}

// Seen by the users of each row's own locale, and by a British user (code page 1252).
TEST(nlsLanguage, CodePageCompatibilityForEachUser) {
    std::vector<std::pair<const char*, const char*>> users = {{"en-GB", "1252"}};
    for (const auto& row : k_rows)
        users.push_back({row[Iso], row[Ansi]});
    for (const auto& [user, ansi] : users) {
        nlstest::ScopedUser as(user);
        if (!as.active()) continue;
        for (const auto& row : k_rows)
            EXPECT_EQ(nlsLanguage(row[Name]).is_codepage_compatible(),
                      row[Ansi] == std::string(ansi))
                << user << " " << row[Name];
    }
}

TEST(nlsLanguage, UnknownNamesKeepOnlyTheNameAndCompareExactly) {
    nlstest::ScopedUser british("en-GB");
    const std::string names[] = {"DEU", "Chinese simplified", " German", "English-GBR",
                                 std::string(10000, 'g')};
    for (const std::string& name : names) {
        nlsLanguage record(name.c_str());
        EXPECT_EQ(record.name().c_str(), name);
        EXPECT_TRUE(record.iso_name().empty() && record.akn_code().empty()) << name;
        EXPECT_FALSE(record.is_codepage_compatible()) << name;
        EXPECT_EQ(record.has_extension(), name == "English-GBR") << name;
    }
    EXPECT_TRUE(nlsLanguage(nullptr).empty());
    EXPECT_TRUE(nlsLanguage("Latin") != nlsLanguage("latin"));
    EXPECT_TRUE(nlsLanguage("Czech") != nlsLanguage("Slovak")); // same code, other name
}

TEST(nlsLanguage, ShortFormDropsTheExtensionIntoOneSharedRecord) {
    const nlsLanguage& shared = nlsLanguage("English-GBR").short_form();
    EXPECT_STREQ(shared.iso_name().c_str(), "en-US");
    EXPECT_EQ(&nlsLanguage("Portuguese-BRA").short_form(), &shared);
    EXPECT_STREQ(shared.iso_name().c_str(), "pt-PT");
    EXPECT_STREQ(nlsLanguage("German").short_form().name().c_str(), "Portuguese"); // no hyphen
    EXPECT_TRUE(nlsLanguage("-GBR").short_form().empty());
}

} // namespace
