#include <nls/nlsApplicationSettings.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <nls/nlsNeutralNumbers.h>
#include <nls/nlsUtils.h>
#include <nls/nlsWinApplicationSettings.h>
#include <platform/internal/apCrtLocale.h>
#include <platform/apRegistry.h>

#include "nlsManagerTestSupport.h"

#include <clocale>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using nlstest::Manager;
using nlstest::ScopedEnv;

struct FixedSettings : nlsApplicationSettings {
    FixedSettings(const char* language, unsigned int code) : m_language(language), m_code(code) {}
    nlsErrorData set_display_language(const nlsLanguage&) override { return nlsErrorData(0); }
    nlsErrorData get_display_language(nlsLanguage& language) override {
        language = nlsLanguage(m_language);
        return nlsErrorData(m_code);
    }
    const char* m_language;
    unsigned int m_code;
};

using LocaleSelection = nlstest::ManagerTest;

TEST_F(LocaleSelection, EnvironmentLanguageFollowsItsPrecedence) {
    struct Case {
        const char *lc_all, *lc_messages, *lang, *setting;
        unsigned int setting_code, regional_flag;
        const char* expected;
    } cases[] = {
        {nullptr, "", "German", nullptr, 0, 0, "German"},
        {"check", nullptr, "German", "fr-FR", 0, 0, "check"},
        {nullptr, nullptr, "German", "fr-FR", 0, 0, "French"},
        {nullptr, nullptr, "German", "fr-FR", 1, 0, "German"}, // failed read
        {nullptr, nullptr, "German", "ja-JP", 0, 0, "German"}, // code page 932
        {nullptr, nullptr, "German", nullptr, 0, 1, "English-GBR"},
        {nullptr, nullptr, nullptr, nullptr, 0, 0, "English-GBR"},
    };
    for (const Case& c : cases) {
        ScopedEnv all("LC_ALL", c.lc_all), messages("LC_MESSAGES", c.lc_messages),
            lang("LANG", c.lang);
        nlsDomainManager::set_application_settings(
            c.setting ? std::make_unique<FixedSettings>(c.setting, c.setting_code) : nullptr);
        Manager::the_regional_settings_flag = static_cast<int>(c.regional_flag);
        Manager::the_env_language = utString();
        EXPECT_STREQ(nlsDomainManager::env_language(nlsLANG_LOCALE), c.expected) << c.expected;
    }
}

// What a Linux user sets: POSIX locale names, GNU's LANGUAGE list, the C locale, mistakes.
TEST_F(LocaleSelection, EnvironmentOfLinuxUsers) {
    // Library names and POSIX names side by side in one tree.
    for (const char* folder : {"German", "Portuguese-BRA", "fr"})
        catalogue(dir.path(), folder, "shop", {"Open"});
    const std::string garbage(10000, '%');
    const std::string missing = "NLS Warning: Catalog <shop> failed to load for language <check>";
    struct Case {
        const char *lc_all, *lc_messages, *lang, *language_list, *user;
        const char* language; // of the database
        std::string open;
        std::vector<std::string> reports = {};
    } cases[] = {
        {nullptr, nullptr, "de_DE@euro", nullptr, nullptr, "German", "German:Open"},
        {nullptr, nullptr, "pt_BR", nullptr, nullptr, "Portuguese-BRA", "Portuguese-BRA:Open"},
        {nullptr, "fr_FR.UTF-8", "de_DE.UTF-8", nullptr, nullptr, "French", "fr:Open"},
        {nullptr, nullptr, "C.UTF-8", nullptr, nullptr, "C", "Open"},
        {"POSIX", nullptr, "de_DE.UTF-8", "fr", nullptr, "C", "Open"},
        {nullptr, nullptr, "check", "fr", nullptr, "check", "Open", {missing}},
        {nullptr, nullptr, "", "fr", "de-AT", "German", "German:Open"}, // regional settings
        // LANGUAGE: the first entry with a catalogue, ahead of LANG; "C" ends the list.
        {nullptr, nullptr, "de_DE.UTF-8", "fr:de", nullptr, "French", "fr:Open"},
        {nullptr, nullptr, "de_DE.UTF-8", ":xx:it:fr", nullptr, "French", "fr:Open"},
        {nullptr, nullptr, "fr_FR.UTF-8", "it:de_CH", nullptr, "German", "German:Open"},
        {nullptr, nullptr, "de_DE.UTF-8", "C:fr", nullptr, "C", "Open"},
        {nullptr, nullptr, "de_DE.UTF-8", garbage.c_str(), nullptr, "German", "German:Open"},
        // Only "C" and "POSIX" make LANGUAGE count for nothing.
        {nullptr, nullptr, "C.UTF-8", "fr", nullptr, "French", "fr:Open"},
        // A language that no known locale speaks keeps its name whole.
        {nullptr, nullptr, "xx_YY.UTF-8", nullptr, nullptr, "xx_YY.UTF-8", "Open",
         {"NLS Warning: Setting up locale for language <xx_YY.UTF-8> failed",
          "NLS Warning: Catalog <shop> failed to load for language <xx_YY.UTF-8>"}},
    };
    for (const Case& c : cases) {
        ScopedEnv all("LC_ALL", c.lc_all), messages("LC_MESSAGES", c.lc_messages),
            lang("LANG", c.lang), list("LANGUAGE", c.language_list);
        nlstest::ScopedUser user(c.user ? c.user : "en-GB");
        if (!user.active()) continue; // a Windows process keeps the user it started with
        SCOPED_TRACE("row " + std::to_string(&c - cases));
        nlstest::forget_languages();
        nlstest::DataBase shop(dir.path().c_str(), "shop");
        EXPECT_EQ(reports.take(), c.reports);
        EXPECT_STREQ(shop.language(), c.language);
        nlsDomainManager::textdomain("shop");
        EXPECT_EQ(nlsDomainManager::gettext("Open"), c.open);
    }
}

TEST_F(LocaleSelection, ChosenPosixNamesMeanLibraryNames) {
    const char* cases[][2] = {
        {"en_US.UTF-8", "English"}, {"de_XX", "German"},     {"de-DE", "de-DE"},
        {"xx_YY", "xx_YY"},         {"xx_YY.UTF-8", "xx_YY.UTF-8"}};
    for (auto& c : cases) {
        nlsDomainManager::language(utString(c[0]));
        EXPECT_EQ(nlsDomainManager::language(), utString(c[1])) << c[0];
    }
}

// A user's POSIX locale is set as it stands where the run time has it, codeset included.
TEST_F(LocaleSelection, PosixLocaleOfTheUserIsSetAsItStands) {
    for (const char* value : {"C.UTF-8", "de_DE.ISO-8859-1", "de_AT.UTF-8"}) {
        const char* known = std::setlocale(LC_ALL, value);
        const std::string expected = known ? known : "";
        std::setlocale(LC_ALL, "C");
        ScopedEnv lang("LANG", value);
        nlstest::forget_languages();
        ASSERT_EQ(nlsDomainManager::setlocale(LC_ALL), 0u) << value;
        if (known) {
            EXPECT_EQ(std::setlocale(LC_CTYPE, nullptr), expected);
        }
    }
}

TEST_F(LocaleSelection, RejectedLocaleIsReportedAndAssertsOnlyWhenTheHandlerSaysFatal) {
    nlstest::AssertCapture asserts;
    EXPECT_EQ(nlsDomainManager::language(utString("Klingon")), nlsERROR_LOCALE_SETUP);
    const std::vector<std::string> klingon = {
        "NLS Warning: Setting up locale for language <Klingon> failed"};
    EXPECT_EQ(reports.take(), klingon);
    EXPECT_TRUE(asserts.reports().empty());
    EXPECT_EQ(Manager::the_numeric_translation_flag, 0);

    const nlsDomainManager::handler_type fatal = [](const nlsErrorData&) { return 0; };
    const nlsDomainManager::handler_type recorder = nlsDomainManager::error_handler(fatal);
    EXPECT_EQ(nlsDomainManager::setlocale(LC_ALL), nlsERROR_LOCALE_SETUP);
    EXPECT_EQ(asserts.reports(),
              std::vector<std::string>{"nls/nlsDomainManager:768: nlsDomainManager::setlocale| "
                                       "Failed to set locale in nlsDomainManager::setlocale (0)"});
    // Put back, the handler that the first call returned takes the reports again.
    EXPECT_EQ(nlsDomainManager::error_handler(recorder), fatal);
    nlsDomainManager::setlocale(LC_ALL);
    EXPECT_EQ(reports.take(), klingon);
}

TEST_F(LocaleSelection, UsersOwnLanguageMeansTheDefaultLocaleForEachUser) {
    nlstest::ScopedUser austrian("de-AT");
    if (!austrian.active()) return;
    EXPECT_EQ(nlsDomainManager::setlocale(LC_ALL), 0u); // the regional language, German-AUT
    EXPECT_EQ(Manager::s_users_env, utString("German-AUT"));
    EXPECT_EQ(Manager::fix_setlocale_argument(utString("German-AUT")), utString("German_AUT"));
    const std::string user_default = std::setlocale(LC_NUMERIC, nullptr);
    EXPECT_NE(user_default, "C");
    EXPECT_EQ(Manager::do_setlocale(LC_ALL, utString("C")), 1);
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(Manager::do_setlocale(LC_ALL, utString("German_AUT")), 1); // passed on as ""
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), user_default);
}

TEST_F(LocaleSelection, GermanNumbersHaveNoGroupingAndNeutralBlocksNestAndRestore) {
    ScopedEnv german("LANG", "German");
    ASSERT_EQ(nlsDomainManager::setlocale(LC_ALL), 0u);
    std::ostringstream out;
    out << 1234567 << ' ' << 2.5;
    EXPECT_EQ(out.str(), "1234567 2,5");
    std::locale before;
    {
        nlsNeutralNumbers neutral;
        EXPECT_EQ(std::to_string(1.5), "1.500000");
        EXPECT_EQ(nlsUtils::lookup_decimal_point(), '.');
        {
            nlsNeutralNumbers translated(nlsNumbersTranslated);
            EXPECT_EQ(std::to_string(1.5), "1,500000");
        }
        EXPECT_EQ(std::to_string(1.5), "1.500000");
    }
    EXPECT_EQ(std::to_string(1.5), "1,500000");
    EXPECT_TRUE(std::locale() == before);
    // The named locale groups digits as the language does, on every platform.
    EXPECT_TRUE(nlsDomainManager::set_cpp_named_locale());
    std::ostringstream named;
    named << 1234567 << ' ' << 2.5;
    EXPECT_EQ(named.str(), "1.234.567 2,5");
    EXPECT_TRUE(nlsDomainManager::set_cpp_num_locale());
    std::ostringstream num;
    num << 1234567;
    EXPECT_EQ(num.str(), "1234567");
}

TEST_F(LocaleSelection, DisplayLanguageGoesThroughTheSettingsObject) {
    ScopedEnv french("LANG", "French");
    nlsLanguage language("German");
    EXPECT_EQ(nlsDomainManager::get_display_language(language).code(), 0u);
    EXPECT_TRUE(language.empty());
    nlsDomainManager::set_application_settings(
        std::make_unique<nlsWinApplicationSettings>(utString(registry.key("nls\\test").c_str())));
    EXPECT_EQ(nlsDomainManager::set_display_language(nlsLanguage("german")).code(), 0u);
    utString stored; // as another program, or an older version, reads it
    EXPECT_NE(apRegistry(apHKEY_CURRENT_USER)
                  .value_data(registry.key("nls\\test").c_str(), "CurrentLanguage", stored),
              0);
    EXPECT_STREQ(stored.c_str(), "de-DE");
    EXPECT_EQ(nlsDomainManager::get_display_language(language).code(), 0u);
    EXPECT_EQ(language.name(), utString("German"));
    EXPECT_STREQ(nlsDomainManager::env_language(nlsLANG_LOCALE), "German"); // wins over LANG
}

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

struct UtilsProbe : nlsUtils {
    using nlsUtils::fiddle_atof;
};

using Numbers = nlstest::StateSavingTest;

TEST_F(Numbers, DecimalPointIsLookedUpConvertedAndReadEitherWay) {
    ASSERT_TRUE(ap_setlocale(LC_NUMERIC, "German", "de-DE")) << "no German locale installed";
    EXPECT_EQ(nlsUtils::lookup_decimal_point(), ',');
    const utString original("3.25");
    utString shared(original), whole("42"); // the write must not reach the original
    EXPECT_EQ(nlsUtils::convert_decimal_point(&shared), 1);
    EXPECT_STREQ(shared.c_str(), "3,25");
    EXPECT_STREQ(original.c_str(), "3.25");
    EXPECT_EQ(nlsUtils::convert_decimal_point(&whole), 0);
    EXPECT_EQ(nlsUtils::convert_decimal_point(nullptr), 0);
    EXPECT_DOUBLE_EQ(UtilsProbe::fiddle_atof("1.5"), 1.5);

    std::setlocale(LC_NUMERIC, "C");
    ASSERT_EQ(nlsUtils::lookup_decimal_point(), '.');
    for (const char* text : {"12,5", "+-1"})
        EXPECT_EQ(nlsUtils::is_numeric(utString(text)), 1) << text;
    for (const char* text : {"1,2.3", "1/2", "*1", "\xb2", ""})
        EXPECT_EQ(nlsUtils::is_numeric(utString(text)), 0) << text;
    const std::pair<const char*, double> cases[] = {{"1,5", 1.5}, {"2e3", 2000.0}, {nullptr, 0.0}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(UtilsProbe::fiddle_atof(text), value);
    // Only the first 63 characters count: 61 zeros, "12", then nines.
    EXPECT_DOUBLE_EQ(UtilsProbe::fiddle_atof((std::string(61, '0') + "12" + "999").c_str()), 12.0);
}

} // namespace
