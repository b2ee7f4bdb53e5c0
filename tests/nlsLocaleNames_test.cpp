#include "nlsTestSupport.h"

namespace {

using LocaleNames = nlstest::ManagerTest;

TEST_F(LocaleNames, IsoLocaleAndAbbreviatedLanguageOfNames) {
    const std::string long_name(10000, 'x');
    const std::string iso[][2] = {{"CHECK", "CHECK"},       {"c", "en-GB"},
                                  {"english-gbr", "en-GB"}, {"English", "en"},
                                  {"Latin-XYZ", "en-GB"},   {long_name, "en-GB"}};
    auto u = [](const std::string& text) { return utString(text.c_str()); };
    for (auto& c : iso)
        EXPECT_EQ(nlsDomainManager::get_iso_locale(u(c[0])), u(c[1]));
    const std::string abbreviated[][2] = {
        {"", "ENG"}, {"de-DE", "DEU"}, {"xx-XX", "ENG"}, {"\xff\xfe", "ENG"}, {long_name, "ENG"}};
    for (auto& c : abbreviated)
        EXPECT_EQ(nlsDomainManager::get_abbreviated_language(u(c[0])), u(c[1]));
}

TEST_F(LocaleNames, RegionalLanguageForEachUser) {
    // A country that names the language (DEU, DEU) adds no extension.
    for (const char* user : {"de-DE", "de-AT"}) {
        nlstest::ScopedUser as(user);
        if (!as.active()) continue;
        utString plain, extended;
        nlsDomainManager::get_regional_language(&plain, nlsLANG_REGIONAL);
        nlsDomainManager::get_regional_language(&extended, nlsLANG_DATABASE);
        EXPECT_EQ(plain, utString("German"));
        EXPECT_EQ(extended, utString(user[3] == 'D' ? "German" : "German-AUT"));
    }
}

} // namespace
