#include <nls/nlsLoadedDomain.h>
#include <platform/apFileFinder.h>
#include <platform/internal/apLocale.h>
#include <platform/internal/apWinLocale.h>
#include <platform/utString.h>

#include "nlsTestSupport.h"

#include <algorithm>

namespace {

TEST(apFileFinder, ChecksPaths) {
    nlstest::TempDir dir;
    nlstest::write_file(dir / "German/LC_MESSAGES/app.mo", "x");
    nlstest::write_file(dir / "notes.txt", "x");

    for (const char* path : {"German", "German/LC_MESSAGES/app.mo", "French", "notes.txt/x"})
        EXPECT_EQ(apFileFinder::check_path_exists(utString((dir / path).c_str())) == apFILE_EXISTS,
                  path[0] == 'G')
            << path;
    EXPECT_STREQ(apPath(utString("/a/b//")).basename().c_str(), "b");
}

// A catalogue rewritten at the same size within the same second is another file, which the
// domain manager reads again rather than take up the one it holds.
TEST(apFileFinder, RewriteWithinASecondChangesTheIdentity) {
    nlstest::TempDir dir;
    const std::string path = dir / "app.mo";
    nlstest::write_file(path, nlstest::build_mo({{"x", "1"}}));
    nlstest::set_modified(path, 1700000000, 250000000);
    unsigned int code = 1;
    nlsLoadedDomain loaded(utString(path.c_str()), &code);
    ASSERT_EQ(code, 0u);
    apFileIdentity now;
    ASSERT_TRUE(apFileFinder::identity(utString(path.c_str()), now));
    EXPECT_TRUE(now == loaded.identity); // by path as by the open file

    nlstest::write_file(path, nlstest::build_mo({{"x", "2"}}));
    nlstest::set_modified(path, 1700000000, 500000000);
    ASSERT_TRUE(apFileFinder::identity(utString(path.c_str()), now));
    EXPECT_FALSE(now == loaded.identity);
}

TEST(GetLocaleInfoU, ReadsAndWritesNothingBeyondTheCallersBuffers) {
    char buffer[16] = "xxxxxxxxxxxxxxx";
    EXPECT_EQ(GetLocaleInfoU(0x0809, LOCALE_SENGLANGUAGE, nullptr, 0), 8); // only the size needed
    EXPECT_EQ(GetLocaleInfoU(0x0809, LOCALE_SENGLANGUAGE, buffer, 7), 0);  // "English" needs 8
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("\0xxxxxxxxxxxxxx", 16));
    EXPECT_EQ(GetLocaleInfoU(0x0809, LOCALE_SENGLANGUAGE, buffer, 8), 8);
    EXPECT_STREQ(buffer, "English");
}

TEST(apLocale, FieldsOfNamedLocales) {
    const std::string long_name(10000, 'e');
    const struct {
        const char* locale;
        apLocaleField field;
        const char* expected;
    } rows[] = {
        {"en-GB", apLocaleField::english_language, "English"},
        {"en-GB", apLocaleField::language_abbreviation, "ENG"},
        {"en-GB", apLocaleField::country_abbreviation, "GBR"},
        {"en-GB", apLocaleField::iso639, "en"},
        {"en-GB", apLocaleField::iso3166, "GB"},
        {"en-GB", apLocaleField::ansi_codepage, "1252"},
        {"en-gb", apLocaleField::name, "en-GB"}, // letter case ignored
        {"ru-RU", apLocaleField::ansi_codepage, "1251"},
        {"de-AT", apLocaleField::country_abbreviation, "AUT"},
        {"de", apLocaleField::english_language, "German"}, // a bare language
        // No locale: a library name, a name with a byte above 0x7F, one of any length, none.
        {"German", apLocaleField::iso639, ""},
        {"\xe5n-GB", apLocaleField::iso639, ""},
        {long_name.c_str(), apLocaleField::iso639, ""},
        {"", apLocaleField::english_language, ""},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(ap_locale_field(utString(row.locale), row.field).c_str(), row.expected)
            << row.locale << " " << static_cast<int>(row.field);
}

// Each listed locale answers to the name the list gives it.
TEST(apLocale, ListedLocalesAnswerToTheirNames) {
    const std::vector<utString> locales = ap_locales();
    for (const char* name : {"en-GB", "de-AT", "ja-JP"})
        EXPECT_NE(std::find(locales.begin(), locales.end(), utString(name)), locales.end()) << name;
    for (const utString& locale : locales)
        ASSERT_STREQ(ap_locale_field(locale, apLocaleField::name).c_str(), locale.c_str());
}

} // namespace
