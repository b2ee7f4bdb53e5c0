#include <nls/nlsApplicationSettings.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <platform/internal/apCrtLocale.h>

#include "nlsManagerTestSupport.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

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
        const char *name, *lc_all, *lc_messages, *lang, *setting;
        unsigned int setting_code;
        int regional_flag;
        const char* expected;
    } cases[] = {
        {"empty LC_MESSAGES", nullptr, "", "German", nullptr, 0, 0, "German"},
        {"check", "check", nullptr, "German", "fr-FR", 0, 0, "check"},
        {"setting", nullptr, nullptr, "German", "fr-FR", 0, 0, "French"},
        {"failed read", nullptr, nullptr, "German", "fr-FR", 1, 0, "German"},
        {"setting of code page 932", nullptr, nullptr, "German", "ja-JP", 0, 0, "German"},
        {"regional flag", nullptr, nullptr, "German", nullptr, 0, 1, "English-GBR"},
        {"nothing set", nullptr, nullptr, nullptr, nullptr, 0, 0, "English-GBR"},
    };
    for (const Case& c : cases) {
        ScopedEnv all("LC_ALL", c.lc_all), messages("LC_MESSAGES", c.lc_messages),
            lang("LANG", c.lang);
        nlsDomainManager::set_application_settings(
            c.setting ? std::make_unique<FixedSettings>(c.setting, c.setting_code) : nullptr);
        nlstest::set_regional_settings_flag(c.regional_flag);
        nlstest::forget_languages();
        EXPECT_STREQ(nlsDomainManager::env_language(nlsLANG_LOCALE), c.expected) << c.name;
    }
}

// What a Linux user sets: POSIX locale names, GNU's LANGUAGE list, the C locale, mistakes.
TEST_F(LocaleSelection, EnvironmentOfLinuxUsers) {
    // Library names and POSIX names side by side in one tree.
    for (const char* folder : {"German", "Portuguese-BRA", "fr"})
        catalogue(dir.path(), folder, "shop", {"Open"});
    const std::string garbage(10000, '%');
    const std::string missing = "NLS Warning: Catalog <shop> failed to load for language <check>";
    const std::vector<std::string> unknown = {
        "NLS Warning: Setting up locale for language <xx_YY.UTF-8> failed",
        "NLS Warning: Catalog <shop> failed to load for language <xx_YY.UTF-8>"};
    struct Case {
        const char *name, *lc_all, *lc_messages, *lang, *language_list, *user;
        const char* language; // of the database
        std::string open;
        std::vector<std::string> reports = {};
    } cases[] = {
        {"modifier", nullptr, nullptr, "de_DE@euro", nullptr, nullptr, "German", "German:Open"},
        {"country", nullptr, nullptr, "pt_BR", nullptr, nullptr, "Portuguese-BRA",
         "Portuguese-BRA:Open"},
        {"LC_MESSAGES over LANG", nullptr, "fr_FR.UTF-8", "de_DE.UTF-8", nullptr, nullptr, "French",
         "fr:Open"},
        {"C.UTF-8", nullptr, nullptr, "C.UTF-8", nullptr, nullptr, "C", "Open"},
        {"POSIX", "POSIX", nullptr, "de_DE.UTF-8", "fr", nullptr, "C", "Open"},
        {"check", nullptr, nullptr, "check", "fr", nullptr, "check", "Open", {missing}},
        {"regional settings", nullptr, nullptr, "", "fr", "de-AT", "German", "German:Open"},
        // LANGUAGE: the first entry with a catalogue, ahead of LANG (more in the glibc oracle).
        {"list", nullptr, nullptr, "de_DE.UTF-8", "fr:de", nullptr, "French", "fr:Open"},
        {"list with gaps", nullptr, nullptr, "de_DE.UTF-8", ":xx:it:fr", nullptr, "French",
         "fr:Open"},
        {"region of the list", nullptr, nullptr, "fr_FR.UTF-8", "it:de_CH", nullptr, "German",
         "German:Open"},
        {"garbage list", nullptr, nullptr, "de_DE.UTF-8", garbage.c_str(), nullptr, "German",
         "German:Open"},
        // A language that no known locale speaks keeps its name whole.
        {"unknown language", nullptr, nullptr, "xx_YY.UTF-8", nullptr, nullptr, "xx_YY.UTF-8",
         "Open", unknown},
    };
    for (const Case& c : cases) {
        ScopedEnv all("LC_ALL", c.lc_all), messages("LC_MESSAGES", c.lc_messages),
            lang("LANG", c.lang), list("LANGUAGE", c.language_list);
        nlstest::ScopedUser user(c.user ? c.user : "en-GB");
        if (!user.active()) continue; // a Windows process keeps the user it started with
        SCOPED_TRACE(c.name);
        nlstest::forget_languages();
        nlstest::DataBase shop(dir.path().c_str(), "shop");
        EXPECT_EQ(reports.take(), c.reports);
        EXPECT_STREQ(shop.language(), c.language);
        nlsDomainManager::textdomain("shop");
        EXPECT_EQ(nlsDomainManager::gettext("Open"), c.open);
    }
}

TEST_F(LocaleSelection, ChosenPosixNamesMeanLibraryNames) {
    const char* cases[][2] = {{"en_US.UTF-8", "English"},
                              {"de_XX", "German"},
                              {"de-DE", "de-DE"},
                              {"xx_YY", "xx_YY"},
                              {"xx_YY.UTF-8", "xx_YY.UTF-8"},
                              {"NO_TRANSLATION", "English"}};
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

TEST_F(LocaleSelection, RejectedLocaleAssertsOnlyWhenTheHandlerSaysFatal) {
    nlstest::AssertCapture asserts;
    EXPECT_EQ(nlsDomainManager::language(utString("Klingon")), nlsERROR_LOCALE_SETUP);
    const std::vector<std::string> klingon = {
        "NLS Warning: Setting up locale for language <Klingon> failed"};
    EXPECT_EQ(reports.take(), klingon);
    EXPECT_TRUE(asserts.reports().empty());
    EXPECT_EQ(nlsDomainManager::numeric_translation(0), 0); // numbers stay those of "C"

    const nlsDomainManager::handler_type fatal = [](const nlsErrorData&) { return 0; };
    const nlsDomainManager::handler_type recorder = nlsDomainManager::error_handler(fatal);
    EXPECT_EQ(nlsDomainManager::setlocale(LC_ALL), nlsERROR_LOCALE_SETUP);
    EXPECT_EQ(asserts.reports().size(), 1u);
    // Put back, the handler that the first call returned takes the reports again.
    EXPECT_EQ(nlsDomainManager::error_handler(recorder), fatal);
    nlsDomainManager::setlocale(LC_ALL);
    EXPECT_EQ(reports.take(), klingon);
}

// The user's own language is set as the user's default locale, which holds the user's choices.
TEST_F(LocaleSelection, UsersOwnLanguageMeansTheDefaultLocaleForEachUser) {
    nlstest::ScopedUser austrian("de-AT");
    if (!austrian.active()) return;
    ASSERT_NE(ap_setlocale(LC_ALL, "", nullptr), nullptr);
    const std::string user_default = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(nlsDomainManager::setlocale(LC_ALL), 0u); // the regional language, German-AUT
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), user_default);
    EXPECT_NE(user_default, "C");
}

} // namespace
