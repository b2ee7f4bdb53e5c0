#include <nls/nlsLoadedDomain.h>
#include <platform/apFileFinder.h>
#include <platform/apRegistry.h>
#include <platform/apUtils.h>
#include <platform/internal/apLocale.h>
#include <platform/internal/apWinLocale.h>
#include <platform/utString.h>

#include "moWriter.h"
#include "nlsManagerTestSupport.h"
#include "nlsTestPlatform.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

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

TEST(utString, EqualityFollowsNullAndByteRulesAndConstructorsClamp) {
    const utString base("abcdef");
    struct Case {
        utString a, b;
        int equal;
    } cases[] = {
        {utString(), utString(""), 0},
        {utString("abc"), utString("ab"), 0},
        {utString(utStringArray{}, "a\0b", 3), utString(utStringArray{}, "a\0c", 3), 0},
        {utString(base, 4, 3), utString("ef"), 1}, // more than remains, less than the whole
        {utString(base, -3, 2), utString("ab"), 1},
        {utString(utStringArray{}, "xyz", -1), utString(""), 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.a == c.b, c.equal) << (&c - cases);
}

TEST(utString, SharedTextIsCopiedBeforeItIsWritten) {
    utString a("1.5"), written(a), joined(a);
    written.set_char(1, ',');
    joined += joined;
    EXPECT_STREQ((a + written + joined).c_str(), "1.51,51.51.5");
    // Literal text is copied too: written in place it would crash.
    utString source(utStringLit{}, "lower"), literal(source);
    literal.set_char(0, 'L');
    EXPECT_STREQ(literal.c_str(), "Lower");

    char* buffer = apconcat(3, "a", static_cast<const char*>(nullptr), "bc");
    utString claimed(utStringClaim{}, buffer, 0); // taken over as it is, measured for length 0
    EXPECT_EQ(claimed.text(), buffer);
    EXPECT_EQ(claimed.length(), 3);
}

TEST(utString, AssertReportIsOneLineOnStandardError) {
    int before = ut_assert_failure_count();
    testing::internal::CaptureStderr();
    ut_report_assert_failure("nls/nlsDataBase", 492, "boom", "f", "0");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Assertion failed: nls/nlsDataBase:492: boom in f (0)\n");
    EXPECT_EQ(ut_assert_failure_count(), before + 1);
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

using apRegistryTest = nlstest::StateSavingTest;

TEST_F(apRegistryTest, KeysAndValueNamesIgnoreLetterCaseAndEndAtBackslashes) {
    nlstest::ScopedRegistry registry;
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
