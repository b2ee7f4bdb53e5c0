#include <nls/nlsApplicationSettings.h>
#include <nls/nlsLanguage.h>
#include <platform/internal/apCrtLocale.h>

#include "nlsTestSupport.h"

#include <clocale>

namespace {

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
    const struct {
        const char *name, *environment, *setting;
        unsigned int setting_code;
        int regional_flag;
        const char* expected;
    } cases[] = {
        {"empty LC_MESSAGES", "LC_MESSAGES= LANG=German", nullptr, 0, 0, "German"},
        {"check", "LC_ALL=check LANG=German", "fr-FR", 0, 0, "check"},
        {"setting", "LANG=German", "fr-FR", 0, 0, "French"},
        {"failed read", "LANG=German", "fr-FR", 1, 0, "German"},
        {"setting of code page 932", "LANG=German", "ja-JP", 0, 0, "German"},
        {"regional flag", "LANG=German", nullptr, 0, 1, "English-GBR"},
        {"nothing set", "", nullptr, 0, 0, "English-GBR"},
    };
    for (const auto& c : cases) {
        auto environment = nlstest::scoped_env(c.environment);
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
    const std::string garbage = "LANG=de_DE.UTF-8 LANGUAGE=" + std::string(10000, '%');
    const std::string missing = "NLS Warning: Catalog <shop> failed to load for language <check>";
    const std::vector<std::string> unknown = {
        "NLS Warning: Setting up locale for language <xx_YY.UTF-8> failed",
        "NLS Warning: Catalog <shop> failed to load for language <xx_YY.UTF-8>"};
    const struct {
        const char* name;
        std::string environment;
        const char *user, *language; // of the database
        std::string open;
        std::vector<std::string> reports = {};
    } cases[] = {
        {"modifier", "LANG=de_DE@euro", nullptr, "German", "German:Open"},
        {"country", "LANG=pt_BR", nullptr, "Portuguese-BRA", "Portuguese-BRA:Open"},
        {"LC_MESSAGES over LANG", "LC_MESSAGES=fr_FR.UTF-8 LANG=de_DE.UTF-8", nullptr, "French",
         "fr:Open"},
        {"C.UTF-8", "LANG=C.UTF-8", nullptr, "C", "Open"},
        {"POSIX", "LC_ALL=POSIX LANG=de_DE.UTF-8 LANGUAGE=fr", nullptr, "C", "Open"},
        {"check", "LANG=check LANGUAGE=fr", nullptr, "check", "Open", {missing}},
        {"regional settings", "LANG= LANGUAGE=fr", "de-AT", "German", "German:Open"},
        // LANGUAGE: the first entry with a catalogue, ahead of LANG (more in the glibc oracle).
        {"list", "LANG=de_DE.UTF-8 LANGUAGE=fr:de", nullptr, "French", "fr:Open"},
        {"list with gaps", "LANG=de_DE.UTF-8 LANGUAGE=:xx:it:fr", nullptr, "French", "fr:Open"},
        {"region of the list", "LANG=fr_FR.UTF-8 LANGUAGE=it:de_CH", nullptr, "German",
         "German:Open"},
        {"garbage list", garbage, nullptr, "German", "German:Open"},
        // A language that no known locale speaks keeps its name whole.
        {"unknown language", "LANG=xx_YY.UTF-8", nullptr, "xx_YY.UTF-8", "Open", unknown},
    };
    for (const auto& c : cases) {
        auto environment = nlstest::scoped_env(c.environment);
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

// A user's POSIX locale is set as it stands where the run time has it, codeset and modifier
// included, for a language with a country too.
TEST_F(LocaleSelection, PosixLocaleOfTheUserIsSetAsItStands) {
    nlstest::ScopedEnv regional("NLS_USER_LOCALE", nullptr); // the regional settings follow LANG
    for (const char* value :
         {"C.UTF-8", "de_DE.ISO-8859-1", "de_AT.ISO-8859-1", "ca_ES.UTF-8@valencia"}) {
        const char* known = std::setlocale(LC_ALL, value);
        const std::string expected = known ? known : "";
        std::setlocale(LC_ALL, "C");
        nlstest::ScopedEnv lang("LANG", value);
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
    EXPECT_EQ(asserts.count(), 0);
    EXPECT_EQ(nlsDomainManager::numeric_translation(0), 0); // numbers stay those of "C"

    const nlsDomainManager::handler_type fatal = [](const nlsErrorData&) { return 0; };
    const nlsDomainManager::handler_type recorder = nlsDomainManager::error_handler(fatal);
    EXPECT_EQ(nlsDomainManager::setlocale(LC_ALL), nlsERROR_LOCALE_SETUP);
    EXPECT_EQ(asserts.count(), 1);
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
