#include <platform/apFileFinder.h>
#include <platform/apRegistry.h>
#include <platform/apUtils.h>
#include <platform/apWinLocale.h>
#include <platform/utString.h>

#include "nlsManagerTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(apFileFinder, ChecksPathsAndEnumeratesDirectories) {
    nlstest::TempDir dir;
    nlstest::write_file(dir / "German/LC_MESSAGES/app.mo", "x");
    nlstest::write_file(dir / "notes.txt", "x");

    for (const char* path : {"German", "German/LC_MESSAGES/app.mo", "French", "notes.txt/x"})
        EXPECT_EQ(apFileFinder::check_path_exists(utString((dir / path).c_str())) == apFILE_EXISTS,
                  path[0] == 'G')
            << path;

    apPath root(utString(dir.path().c_str()));
    std::vector<std::string> names;
    apFileFinderEx finder(root);
    while (++finder) {
        apPath entry = root.adjoin_ap(finder());
        names.push_back(std::string(entry.basename().c_str()) + (entry.is_directory() ? "/" : ""));
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"German/", "notes.txt"}));
    EXPECT_EQ(++finder, 0); // stays at the end

    apFileFinderEx missing(apPath(utString((dir / "none").c_str())));
    EXPECT_EQ(++missing, 0);
    EXPECT_STREQ(apPath(utString("/a/b//")).basename().c_str(), "b");
    EXPECT_STREQ(apPath(utString("/a/")).adjoin_ap(apFileName(utString("c"))).path().c_str(),
                 "/a/c");
}

TEST(utString, EqualityFollowsNullAndByteRulesAndConstructorsClamp) {
    const utString base("abcdef");
    struct Case {
        utString a, b;
        int equal;
    } cases[] = {
        {utString(), utString(), 1},
        {utString(), utString(""), 0},
        {utString("abc"), utString(utStringLit{}, "abc"), 1},
        {utString("abc"), utString("ab"), 0},
        {utString(utStringArray{}, "a\0b", 3), utString(utStringArray{}, "a\0c", 3), 0},
        {utString(base, 4, 100), utString("ef"), 1},
        {utString(base, 4, 3), utString("ef"), 1}, // more than remains, less than the whole
        {utString(base, -3, 2), utString("ab"), 1},
        {utString(utStringArray{}, "xyz", -1), utString(""), 1},
        {utString(static_cast<const char*>(nullptr)), utString(), 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.a == c.b, c.equal) << '"' << c.a.c_str() << "\" vs \"" << c.b.c_str() << '"';
    EXPECT_EQ(utString("German").case_compare(utString("gERMAN")), 0);
    EXPECT_NE(utString("abc").case_compare(utString("ab")), 0);
}

TEST(utString, TextIsSharedUntilWrittenAndClaimedAsIs) {
    utString a("1.5");
    {
        utString copy(a), assigned;
        assigned = copy;
        EXPECT_EQ(assigned.text(), a.text());
        EXPECT_TRUE(a.is_shared());
    }
    EXPECT_FALSE(a.is_shared()); // the copies gave their references back
    utString written(a), joined(a);
    written.set_char(1, ',');
    joined << "x" << utString("y");
    joined += joined;
    EXPECT_STREQ(a.c_str(), "1.5");
    EXPECT_STREQ(written.c_str(), "1,5");
    EXPECT_STREQ(joined.c_str(), "1.5xy1.5xy");
    EXPECT_STREQ((a + utString("0")).c_str(), "1.50");

    // Literal text, shared or not, is copied before it is written: in place it would crash.
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
    EXPECT_EQ(GetLocaleInfoU(0x0BAD, LOCALE_SENGLANGUAGE, buffer, 16), 0); // no such locale
    // Wide names: U+0165 must not pass for 'e', the character of its low byte.
    for (const std::wstring& name : {std::wstring(L"\u0165n-GB"), std::wstring(10000, L'e')})
        EXPECT_EQ(GetLocaleInfoEx(name.c_str(), LOCALE_SABBREVLANGNAME, nullptr, 0), 0);
}

class apRegistryTest : public nlstest::StateSavingTest {
protected:
    nlstest::ScopedRegistry registry;
    std::string app = registry.key("Maker\\App"), maker = registry.key("Maker");
};

TEST_F(apRegistryTest, KeysAndValueNamesIgnoreLetterCaseAndEndAtBackslashes) {
    auto upper = [](std::string text) {
        for (char& c : text)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return text;
    };
    apRegistry writer(apHKEY_CURRENT_USER);
    ASSERT_NE(writer.create_key(app.c_str()), 0);
    EXPECT_NE(writer.create_key((upper(app) + "\\").c_str()), 0); // it exists already
    EXPECT_NE(writer.set_value_data(app.c_str(), "Language", apREG_STRING, "de"), 0);
    EXPECT_NE(writer.set_value_data(upper(app).c_str(), "LANGUAGE", apREG_STRING, "fr"), 0);
    // Keys named as "Other" is and more; a value written under a trailing backslash.
    for (const std::string& key : {registry.key("Other2"), registry.key("Other.old")})
        ASSERT_NE(writer.create_key(key.c_str()), 0) << key;
    ASSERT_NE(writer.set_value_data((maker + "\\Dir\\").c_str(), "Name", apREG_STRING, "v"), 0);

    apRegistry reader(apHKEY_CURRENT_USER);
    // A key exists with the keys above it; only whole names match.
    for (const std::string& key : {upper(app) + "\\", maker})
        EXPECT_EQ(reader.key_exists(key.c_str()), 1) << key;
    for (const std::string& key :
         {registry.key("Mak"), registry.key("Other"), app + "s", app + "\\Sub"})
        EXPECT_EQ(reader.key_exists(key.c_str()), 0) << key;

    apValueType type = apREG_NONE;
    EXPECT_EQ(reader.value_exists(upper(app).c_str(), "language", type), 1);
    EXPECT_EQ(type, apREG_STRING);
    utString data;
    EXPECT_NE(reader.value_data(app.c_str(), "Language", data), 0);
    EXPECT_STREQ(data.c_str(), "fr");
    EXPECT_EQ(reader.value_exists(maker.c_str(), "Language", type), 0);
    EXPECT_EQ(type, apREG_NONE);
    EXPECT_NE(reader.value_data((maker + "\\Dir").c_str(), "Name", data), 0);
    EXPECT_STREQ(data.c_str(), "v");
}

TEST_F(apRegistryTest, PathsThatNameNoKeyAreRefused) {
    apRegistry accessor(apHKEY_CURRENT_USER);
    for (const std::string& key :
         {std::string(""), std::string("\\"), "\\" + app, maker + "\\\\App"}) {
        EXPECT_EQ(accessor.create_key(key.c_str()), 0) << key;
        EXPECT_EQ(accessor.set_value_data(key.c_str(), "Language", apREG_STRING, "de"), 0) << key;
    }
    apValueType type;
    utString data;
    EXPECT_EQ(accessor.key_exists(maker.c_str()), 0);
    EXPECT_EQ(accessor.value_exists(maker.c_str(), "Language", type), 0);
    EXPECT_EQ(accessor.value_data(maker.c_str(), "Language", data), 0);
}

} // namespace
