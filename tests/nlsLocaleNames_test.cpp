#include "nlsManagerTestSupport.h"

namespace {

using LocaleNames = nlstest::ManagerTest;

TEST_F(LocaleNames, IsoLocaleOfLanguageNames) {
    const char* cases[][2] = {
        {"CHECK", "CHECK"},      {"c", "en-GB"},         {"english-gbr", "en-GB"},
        {"English", "en"},       {"Latin-XYZ", "en-GB"}, {"Portuguese-BRA", "pt-BR"},
        {"German-AUT", "de-AT"}, {"German", "de"},       {"", "en-GB"},
    };
    for (auto& c : cases)
        EXPECT_STREQ(nlsDomainManager::get_iso_locale(utString(c[0])).c_str(), c[1]) << c[0];
    EXPECT_STREQ(
        nlsDomainManager::get_iso_locale(utString(std::string(10000, 'x').c_str())).c_str(),
        "en-GB");
}

TEST_F(LocaleNames, AbbreviatedLanguageOfLocaleNames) {
    std::string long_name(100, 'a');
    const char* cases[][2] = {{"", "ENG"},        {"de-DE", "DEU"}, {"en-GB", "ENG"},
                              {"fr-CA", "FRC"},   {"xx-XX", "ENG"}, {long_name.c_str(), "ENG"},
                              {"\xff\xfe", "ENG"}};
    for (auto& c : cases)
        EXPECT_STREQ(nlsDomainManager::get_abbreviated_language(utString(c[0])).c_str(), c[1]);
}

TEST_F(LocaleNames, RegionalLanguageForEachUser) {
    struct Case {
        const char* user;
        const char *plain, *extended;
    } cases[] = {{"en-GB", "English", "English-GBR"},
                 {"de-DE", "German", "German"}, // DEU and DEU: no extension
                 {"de-AT", "German", "German-AUT"}};
    for (const Case& c : cases) {
        nlstest::ScopedUser as(c.user);
        if (!as.active()) continue;
        utString out("previous");
        nlsDomainManager::get_regional_language(&out, nlsLANG_REGIONAL);
        EXPECT_STREQ(out.c_str(), c.plain);
        nlsDomainManager::get_regional_language(&out, nlsLANG_DATABASE);
        EXPECT_STREQ(out.c_str(), c.extended);
    }
}

} // namespace
