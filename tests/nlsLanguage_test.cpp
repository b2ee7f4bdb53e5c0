#include <nls/nlsLanguage.h>

#include "nlsTestSupport.h"

#include <cctype>

namespace {

struct Row {
    const char *name, *iso, *code, *translated, *code_page;
};

// Rows of the table, one for each code page and the two that share a language, stated here
// rather than read from the library.
constexpr Row kRows[] = {
    {"Japanese", "ja-JP", "JPN", "Japanese", "932"},
    {"Chinese-TWN", "zh-TW", "CHT", "Chinese traditional", "950"},
    {"Slovak", "sk-SK", "CSY", "Slovak", "1250"},
    {"Russian", "ru-RU", "RUS", "Russian", "1251"},
    {"Portuguese", "pt-PT", "PTB", "Portuguese", "1252"},
    {"Portuguese-BRA", "pt-BR", "PTB", "Portuguese Brazil", "1252"},
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
    // The part before "-", blanks trimmed.
    EXPECT_STREQ(nlsLanguage("English - GBR").short_form().iso_name().c_str(), "en-US");
}

using LanguageForUser = nlstest::StateSavingTest;

// Users whose Windows locale has each code page; on Windows only the one the process started
// with is active. Unknown names keep only the name, and suit no user.
TEST_F(LanguageForUser, CodePageMustBeTheUsersForEachUser) {
    const std::pair<const char*, const char*> users[] = {{"en-GB", "1252"}, {"de-DE", "1252"},
                                                         {"de-AT", "1252"}, {"ja-JP", "932"},
                                                         {"cs-CZ", "1250"}, {"tr-TR", "1254"}};
    for (const auto& [user, code_page] : users) {
        nlstest::ScopedUser as(user);
        if (!as.active()) continue;
        for (const Row& row : kRows)
            EXPECT_EQ(nlsLanguage(row.name).is_codepage_compatible(),
                      std::string(row.code_page) == code_page)
                << user << " " << row.name;
        for (const std::string& name : {std::string("DEU"), std::string(9999, 'g')}) {
            nlsLanguage record(name.c_str());
            EXPECT_TRUE(record.name().c_str() == name && record.iso_name().empty()) << name;
            EXPECT_FALSE(record.is_codepage_compatible());
        }
    }
}

} // namespace
