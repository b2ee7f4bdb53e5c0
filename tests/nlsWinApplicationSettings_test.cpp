// The display-language setting and the store it is kept in (the user's registry).

#include <nls/nlsLanguage.h>
#include <platform/apRegistry.h>

#include "nlsTestSupport.h"

namespace {

using Settings = nlstest::ManagerTest;

TEST_F(Settings, DisplayLanguageGoesThroughTheSettingsObject) {
    nlstest::ScopedEnv french("LANG", "French");
    nlsLanguage language("German");
    EXPECT_EQ(nlsDomainManager::get_display_language(language).code(), 0u);
    EXPECT_TRUE(language.empty());
    const std::string key = registry.key("nls\\test");
    nlsDomainManager::set_application_settings(
        std::make_unique<nlsWinApplicationSettings>(utString(key.c_str())));
    EXPECT_EQ(nlsDomainManager::set_display_language(nlsLanguage("german")).code(), 0u);
    utString stored; // as another program, or an older version, reads it
    EXPECT_NE(apRegistry(apHKEY_CURRENT_USER).value_data(key.c_str(), "CurrentLanguage", stored),
              0);
    EXPECT_STREQ(stored.c_str(), "de-DE");
    EXPECT_EQ(nlsDomainManager::get_display_language(language).code(), 0u);
    EXPECT_EQ(language.name(), utString("German"));
    EXPECT_STREQ(nlsDomainManager::env_language(nlsLANG_LOCALE), "German"); // wins over LANG
}

TEST_F(Settings, StoreKeysMatchWholeNamesInAnyCase) {
    const std::string app = registry.key("Maker\\App"), maker = registry.key("Maker"),
                      shout = registry.key("MAKER\\APP");
    apRegistry reg(apHKEY_CURRENT_USER);
    // Paths that name no key; the last must not make "Maker" on the way.
    for (const std::string& key :
         {std::string(""), std::string("\\"), "\\" + app, maker + "\\\\App"}) {
        EXPECT_EQ(reg.create_key(key.c_str()), 0) << key;
        EXPECT_EQ(reg.set_value_data(key.c_str(), "Language", apREG_STRING, "de"), 0) << key;
    }
    EXPECT_EQ(reg.key_exists(maker.c_str()), 0);
    ASSERT_NE(reg.create_key(app.c_str()), 0);
    EXPECT_NE(reg.create_key((shout + "\\").c_str()), 0); // it exists already
    EXPECT_NE(reg.set_value_data(app.c_str(), "Language", apREG_STRING, "de"), 0);
    EXPECT_NE(reg.set_value_data(shout.c_str(), "LANGUAGE", apREG_STRING, "fr"), 0);
    // Keys named as "Other" is and more; a value written under a trailing backslash.
    for (const std::string& key : {registry.key("Other2"), registry.key("Other.old")})
        ASSERT_NE(reg.create_key(key.c_str()), 0) << key;
    ASSERT_NE(reg.set_value_data((maker + "\\Dir\\").c_str(), "Name", apREG_STRING, "v"), 0);
    // A key exists with the keys above it; only whole names match.
    for (const std::string& key : {shout + "\\", maker, registry.key("Mak"), registry.key("Other"),
                                   app + "s", app + "\\Sub"})
        EXPECT_EQ(reg.key_exists(key.c_str()), key == maker || key == shout + "\\") << key;
    apValueType type = apREG_NONE;
    EXPECT_EQ(reg.value_exists(shout.c_str(), "language", type), 1);
    EXPECT_EQ(type, apREG_STRING);
    utString data;
    EXPECT_NE(reg.value_data(app.c_str(), "Language", data), 0);
    EXPECT_STREQ(data.c_str(), "fr");
    EXPECT_NE(reg.value_data((maker + "\\Dir").c_str(), "Name", data), 0);
    EXPECT_STREQ(data.c_str(), "v");
}

} // namespace
