#include <nls/nlsApplicationSettings.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <nls/nlsNeutralNumbers.h>
#include <nls/nlsUtils.h>
#include <nls/nlsWinApplicationSettings.h>
#include <platform/apCrtLocale.h>
#include <platform/apRegistry.h>

#include "nlsManagerTestSupport.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using nlstest::Manager;
using nlstest::ScopedEnv;

int g_deleted = 0;

// A display-language setting held in memory.
struct FixedSettings : nlsApplicationSettings {
    FixedSettings(const char* language, unsigned int code) : m_language(language), m_code(code) {}
    ~FixedSettings() override { ++g_deleted; }
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
        unsigned int setting_code;
        int regional_flag;
        const char *expected, *users_env;
    } cases[] = {
        {nullptr, "", "German", nullptr, 0, 0, "German", ""},
        {"check", nullptr, "German", "fr-FR", 0, 0, "check", ""},
        {"German", nullptr, "check", nullptr, 0, 0, "German", ""},
        {nullptr, nullptr, "German", "fr-FR", 0, 0, "French", "French"},
        {nullptr, nullptr, "German", "fr-FR", 1, 0, "German", ""}, // failed read
        {nullptr, nullptr, "German", "ja-JP", 0, 0, "German", ""}, // code page 932
        {nullptr, nullptr, "German", nullptr, 0, 1, "English-GBR", "English-GBR"},
        {nullptr, "check", nullptr, nullptr, 0, 1, "check", ""},
        {nullptr, nullptr, nullptr, nullptr, 0, 0, "English-GBR", "English-GBR"},
    };
    for (const Case& c : cases) {
        ScopedEnv all("LC_ALL", c.lc_all), messages("LC_MESSAGES", c.lc_messages),
            lang("LANG", c.lang);
        nlsDomainManager::set_application_settings(
            c.setting ? std::make_unique<FixedSettings>(c.setting, c.setting_code) : nullptr);
        Manager::the_regional_settings_flag = c.regional_flag;
        Manager::s_users_env = utString("");
        Manager::the_env_language = utString();
        EXPECT_STREQ(nlsDomainManager::env_language(nlsLANG_LOCALE), c.expected) << c.expected;
        EXPECT_STREQ(Manager::s_users_env.c_str(), c.users_env) << c.expected;
    }
}

// What a Linux user sets: POSIX locale names, GNU's LANGUAGE list, the C locale, mistakes.
TEST_F(LocaleSelection, EnvironmentOfLinuxUsers) {
    // Library names and POSIX names side by side in one tree.
    for (const char* folder : {"German", "Portuguese-BRA", "fr", "nl"})
        catalogue(dir.path(), folder, "shop", {"Open"});
    const std::string garbage(10000, '%');
    auto missing = [](const std::string& language) {
        return "NLS Warning: Catalog <shop> failed to load for language <" + language + ">";
    };
    const std::vector<std::string> garbage_reports = {
        "NLS Warning: Setting up locale for language <" + garbage + "> failed", missing(garbage)};
    struct Case {
        const char *lc_all, *lc_messages, *lang, *language_list, *user;
        const char* language; // of the database
        std::string open;
        std::vector<std::string> reports = {};
    } cases[] = {
        {nullptr, nullptr, "de_DE.UTF-8", nullptr, nullptr, "German", "German:Open"},
        {nullptr, nullptr, "de_DE@euro", nullptr, nullptr, "German", "German:Open"},
        {nullptr, nullptr, "pt_BR", nullptr, nullptr, "Portuguese-BRA", "Portuguese-BRA:Open"},
        {nullptr, nullptr, "de_AT.UTF-8", nullptr, nullptr, "German", "German:Open"},
        {nullptr, nullptr, "nl_NL.UTF-8", nullptr, nullptr, "Dutch-NLD", "nl:Open"},
        {nullptr, "pt_BR.UTF-8", "de_DE.UTF-8", nullptr, nullptr, "Portuguese-BRA",
         "Portuguese-BRA:Open"},
        {nullptr, nullptr, "C.UTF-8", nullptr, nullptr, "C", "Open"},
        {"POSIX", nullptr, "de_DE.UTF-8", "fr", nullptr, "C", "Open"},
        {nullptr, nullptr, "check", "fr", nullptr, "check", "Open", {missing("check")}},
        {nullptr, nullptr, "", "fr", "de-AT", "German", "German:Open"}, // regional settings
        {nullptr, nullptr, garbage.c_str(), nullptr, nullptr, garbage.c_str(), "Open",
         garbage_reports},
        // LANGUAGE: the first entry with a catalogue, ahead of LANG; "C" ends the list.
        {nullptr, nullptr, "de_DE.UTF-8", "fr:de", nullptr, "French", "fr:Open"},
        {nullptr, nullptr, "de_DE.UTF-8", ":xx:it:pt_BR", nullptr, "Portuguese-BRA",
         "Portuguese-BRA:Open"},
        {nullptr, nullptr, "fr_FR.UTF-8", "it:de_CH", nullptr, "German", "German:Open"},
        {nullptr, nullptr, "de_DE.UTF-8", "C:fr", nullptr, "C", "Open"},
        {nullptr, nullptr, "de_DE.UTF-8", garbage.c_str(), nullptr, "German", "German:Open"},
    };
    for (const Case& c : cases) {
        ScopedEnv all("LC_ALL", c.lc_all), messages("LC_MESSAGES", c.lc_messages),
            lang("LANG", c.lang), list("LANGUAGE", c.language_list);
        nlstest::ScopedUser user(c.user ? c.user : "en-GB");
        if (!user.active()) continue; // a Windows process keeps the user it started with
        SCOPED_TRACE("row " + std::to_string(&c - cases));
        Manager::the_env_language = utString();
        nlstest::DataBase shop(dir.path().c_str(), "shop");
        EXPECT_EQ(reports.take(), c.reports);
        EXPECT_STREQ(shop.language(), c.language);
        nlsDomainManager::textdomain("shop");
        EXPECT_EQ(nlsDomainManager::gettext("Open"), c.open);
    }
}

TEST_F(LocaleSelection, ChosenPosixNamesMeanLibraryNames) {
    const char* cases[][2] = {
        {"pt_BR.UTF-8", "Portuguese-BRA"},
        {"en_US.UTF-8", "English"},
        {"de_AT", "German-AUT"},
        {"zh_TW.Big5", "Chinese-TWN"},
        {"de_XX", "German"}, // a country no locale of the language has
        {"POSIX", "C"},
        {"de-DE", "de-DE"},
        {"English-GBR", "English-GBR"}, // as before
        {"xx_YY", "xx_YY"},
        {"de_DEU", "de_DEU"}, // no POSIX names
    };
    for (auto& c : cases) {
        nlsDomainManager::language(utString(c[0]));
        EXPECT_EQ(nlsDomainManager::language(), utString(c[1])) << c[0];
    }
}

TEST_F(LocaleSelection, CacheIsDroppedOnlyByAnotherPurpose) {
    ScopedEnv german("LANG", "German");
    EXPECT_STREQ(nlsDomainManager::env_language(nlsLANG_LOCALE), "German");
    ScopedEnv french("LANG", "French");
    EXPECT_STREQ(nlsDomainManager::env_language(nlsLANG_DATABASE), "German");
    EXPECT_STREQ(nlsDomainManager::env_language(nlsLANG_REGIONAL), "French");
    // NO_TRANSLATION puts British English in the cache, and choosing German leaves it there.
    nlsDomainManager::language(utString("NO_TRANSLATION"));
    EXPECT_STREQ(nlsDomainManager::env_language(nlsLANG_LOCALE), "English-GBR");
    EXPECT_EQ(nlsDomainManager::language(utString("German")), 0u);
    EXPECT_STREQ(nlsDomainManager::env_language(nlsLANG_DATABASE), "English-GBR");
}

TEST_F(LocaleSelection, SetlocaleArgumentsForTheCRunTime) {
    const char* cases[][2] = {
        {"check", "C"}, {"English-GBR", "English_GBR"}, {"English-USA", "English-USA"}};
    for (auto& c : cases)
        EXPECT_STREQ(Manager::fix_setlocale_argument(utString(c[0])).c_str(), c[1]);
}

TEST_F(LocaleSelection, RejectedLocaleIsReportedAndAssertsOnlyWhenTheHandlerSaysFatal) {
    nlstest::AssertCapture asserts;
    EXPECT_EQ(nlsDomainManager::language(utString("Klingon")), nlsERROR_LOCALE_SETUP);
    const std::vector<std::string> klingon = {
        "NLS Warning: Setting up locale for language <Klingon> failed"};
    EXPECT_EQ(reports.take(), klingon);
    EXPECT_TRUE(asserts.reports().empty());
    EXPECT_EQ(Manager::the_numeric_translation_flag, 0);

    static std::vector<std::string> taken;
    taken.clear();
    const nlsDomainManager::handler_type fatal = [](const nlsErrorData& data) {
        taken.push_back(nlsDomainManager::error_to_string(data));
        return 0;
    };
    const nlsDomainManager::handler_type recorder = nlsDomainManager::error_handler(fatal);
    EXPECT_EQ(nlsDomainManager::setlocale(LC_ALL), nlsERROR_LOCALE_SETUP);
    EXPECT_EQ(taken, klingon);
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
    // The run time's name for the user's default locale: de_AT.UTF-8, German_Austria.1252.
    const std::string user_default = std::setlocale(LC_NUMERIC, nullptr);
    EXPECT_NE(user_default, "C");
    EXPECT_EQ(Manager::do_setlocale(LC_ALL, utString("C")), 1);
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(Manager::do_setlocale(LC_ALL, utString("German_AUT")), 1); // passed on as ""
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), user_default);
}

std::string c_format(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

TEST_F(LocaleSelection, GermanNumbersHaveNoGroupingAndNeutralBlocksNestAndRestore) {
    ScopedEnv german("LANG", "German");
    EXPECT_FALSE(nlsDomainManager::set_cpp_num_locale()); // nothing set up yet
    ASSERT_EQ(nlsDomainManager::setlocale(LC_ALL), 0u);
    std::ostringstream out;
    out << 1234567 << ' ' << 2.5;
    EXPECT_EQ(out.str(), "1234567 2,5");
    EXPECT_EQ(nlsUtils::lookup_decimal_point(), ',');
    std::locale before;
    {
        nlsNeutralNumbers neutral;
        EXPECT_EQ(c_format(1.5), "1.5");
        EXPECT_EQ(Manager::the_numeric_translation_flag, 0);
        {
            nlsNeutralNumbers translated(nlsNumbersTranslated);
            EXPECT_EQ(c_format(1.5), "1,5");
            nlsNeutralNumbers odd(static_cast<nlsTranslationType>(7)); // counts as neutral
            EXPECT_EQ(c_format(1.5), "1.5");
        }
        EXPECT_EQ(c_format(1.5), "1.5");
        EXPECT_EQ(nlsUtils::lookup_decimal_point(), '.');
    }
    EXPECT_EQ(c_format(1.5), "1,5");
    EXPECT_EQ(Manager::the_numeric_translation_flag, 1);
    EXPECT_TRUE(std::locale() == before);
    EXPECT_EQ(nlsDomainManager::numeric_translation(7), 1);
    EXPECT_EQ(Manager::the_numeric_translation_flag, 1); // set by the selection, not 7

    EXPECT_TRUE(nlsDomainManager::set_cpp_named_locale());
    EXPECT_NE(std::locale().name(), "*");
    EXPECT_TRUE(nlsDomainManager::set_cpp_num_locale());
    EXPECT_EQ(std::locale().name(), "*");
    EXPECT_TRUE(nlsDomainManager::set_cpp_num_locale());
}

TEST_F(LocaleSelection, DisplayLanguageGoesThroughTheSettingsObject) {
    ScopedEnv french("LANG", "French");
    g_deleted = 0;
    nlsLanguage language("German");
    EXPECT_EQ(nlsDomainManager::get_display_language(language).code(), 0u);
    EXPECT_TRUE(language.empty());
    EXPECT_EQ(nlsDomainManager::set_display_language(nlsLanguage("German")).code(), 0u);

    nlsDomainManager::set_application_settings(std::make_unique<FixedSettings>("de-DE", 0));
    nlsDomainManager::set_application_settings(std::make_unique<FixedSettings>("fr-FR", 0));
    EXPECT_EQ(g_deleted, 1);
    nlsDomainManager::get_display_language(language);
    EXPECT_EQ(language.name(), utString("French"));
    nlsDomainManager::set_application_settings(nullptr);
    EXPECT_EQ(g_deleted, 2);

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
    const char* iso[][2] = {
        {"CHECK", "CHECK"}, {"c", "en-GB"},         {"english-gbr", "en-GB"},
        {"English", "en"},  {"Latin-XYZ", "en-GB"}, {"German-AUT", "de-AT"},
        {"", "en-GB"},
    };
    for (auto& c : iso)
        EXPECT_STREQ(nlsDomainManager::get_iso_locale(utString(c[0])).c_str(), c[1]) << c[0];
    const char* abbreviated[][2] = {
        {"", "ENG"}, {"de-DE", "DEU"}, {"fr-CA", "FRC"}, {"xx-XX", "ENG"}, {"\xff\xfe", "ENG"},
    };
    for (auto& c : abbreviated)
        EXPECT_STREQ(nlsDomainManager::get_abbreviated_language(utString(c[0])).c_str(), c[1]);
    const utString long_name(std::string(10000, 'x').c_str());
    EXPECT_STREQ(nlsDomainManager::get_iso_locale(long_name).c_str(), "en-GB");
    EXPECT_STREQ(nlsDomainManager::get_abbreviated_language(long_name).c_str(), "ENG");
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

struct UtilsProbe : nlsUtils {
    using nlsUtils::fiddle_atof;
};

using Numbers = nlstest::StateSavingTest;

TEST_F(Numbers, CommaLocaleLooksUpConvertsAndReads) {
    ASSERT_TRUE(ap_setlocale(LC_NUMERIC, "German", "de-DE")) << "no German locale installed";
    EXPECT_EQ(nlsUtils::lookup_decimal_point(), ',');
    const std::tuple<const char*, const char*, int> cases[] = {
        {"3.25", "3,25", 1}, {"1,234.5", "1,234,5", 1}, {"", "", 0}, {"42", "42", 0}};
    for (const auto& [before, after, result] : cases) {
        const utString original(before);
        utString text(original); // shares the text: the write must not reach the original
        EXPECT_EQ(nlsUtils::convert_decimal_point(&text), result) << before;
        EXPECT_STREQ(text.c_str(), after);
        EXPECT_STREQ(original.c_str(), before);
    }
    EXPECT_EQ(nlsUtils::convert_decimal_point(nullptr), 0);
    EXPECT_DOUBLE_EQ(UtilsProbe::fiddle_atof("1.5"), 1.5);
}

TEST_F(Numbers, PointLocaleReadsEitherSeparator) {
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_EQ(nlsUtils::lookup_decimal_point(), '.');
    for (const char* text : {"12.5", "12,5", "-3", "1-", "+-1"})
        EXPECT_EQ(nlsUtils::is_numeric(utString(text)), 1) << text;
    for (const char* text : {"1.2.3", "1,2.3", "1e5", "1 2", "1/2", "*1", "\xb2", ""})
        EXPECT_EQ(nlsUtils::is_numeric(utString(text)), 0) << text;
    // 1E5: the upper-case E is not part of a plain number, so it becomes the decimal point.
    const std::pair<const char*, double> cases[] = {
        {"1,5", 1.5}, {"1,234.5", 1.234}, {"2e3", 2000.0}, {"1E5", 1.5}, {"", 0.0}, {nullptr, 0.0}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(UtilsProbe::fiddle_atof(text), value) << (text ? text : "null");
    EXPECT_EQ(UtilsProbe::fiddle_atof("-inf"), -HUGE_VAL);
    // Only the first 63 characters count: 61 zeros, "12", then nines.
    EXPECT_DOUBLE_EQ(UtilsProbe::fiddle_atof((std::string(61, '0') + "12" + "999").c_str()), 12.0);
}

} // namespace
