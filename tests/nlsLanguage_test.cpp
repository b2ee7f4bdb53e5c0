#include <nls/nlsLanguage.h>

#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

// Rows to look up, by name or ISO name in any case: the first and the last, rows that share a
// code, names with an extension, and each kind of code page.
const struct Row {
    const char *asked, *name, *iso, *code, *translated, *ansi; // ansi: the ANSI code page
} k_rows[] = {
    {"JAPANESE", "Japanese", "ja-JP", "JPN", "Japanese", "932"},
    {"german", "German", "de-DE", "DEU", "German", "1252"},
    {"DE-de", "German", "de-DE", "DEU", "German", "1252"},
    {"sk-sk", "Slovak", "sk-SK", "CSY", "Slovak", "1250"},
    {"PT-br", "Portuguese-BRA", "pt-BR", "PTB", "Portuguese Brazil", "1252"},
    {"CHINESE-twn", "Chinese-TWN", "zh-TW", "CHT", "Chinese traditional", "950"},
    {"tr-TR", "Turkish", "tr-TR", "TRK", "Turkish", "1254"},
};

TEST(nlsLanguage, RowsAreFoundByNameOrIsoNameInAnyCaseWithAllTheirFields) {
    for (const Row& row : k_rows) {
        nlsLanguage record(row.asked);
        EXPECT_STREQ(record.name().c_str(), row.name);
        EXPECT_STREQ(record.iso_name().c_str(), row.iso);
        EXPECT_STREQ(record.akn_code().c_str(), row.code);
        EXPECT_STREQ(record.translated_name().c_str(), row.translated);
    }
}

// Seen by the users of each row's own locale, and by a British user (code page 1252).
TEST(nlsLanguage, CodePageCompatibilityForEachUser) {
    std::vector<std::pair<const char*, const char*>> users = {{"en-GB", "1252"}};
    for (const Row& row : k_rows)
        users.push_back({row.iso, row.ansi});
    for (const auto& [user, ansi] : users) {
        nlstest::ScopedUser as(user);
        if (!as.active()) continue;
        for (const Row& row : k_rows)
            EXPECT_EQ(nlsLanguage(row.asked).is_codepage_compatible(),
                      row.ansi == std::string(ansi))
                << user << " " << row.asked;
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

TEST(nlsLanguage, ShortFormIsTheRecordOfTheNameBeforeTheHyphen) {
    const char* const cases[][3] = {
        {"English-GBR", "English", "en-US"},
        {"English - GBR", "English", "en-US"},
        {"Portuguese-BRA", "Portuguese", "pt-PT"},
        {"Chinese-TWN", "Chinese", ""},
        {"-GBR", "", ""},
    };
    for (const auto& c : cases) {
        const nlsLanguage shortened = nlsLanguage(c[0]).short_form();
        EXPECT_STREQ(shortened.name().c_str(), c[1]) << c[0];
        EXPECT_STREQ(shortened.iso_name().c_str(), c[2]) << c[0];
    }
}

} // namespace
