#include <platform/apUtils.h>
#include <platform/utString.h>

#include "nlsTestSupport.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

TEST(utString, EqualityFollowsNullAndByteRules) {
    struct Case {
        utString a, b;
        int equal;
    } cases[] = {
        {utString(), utString(), 1},
        {utString(), utString(""), 0},
        {utString(""), utString(), 0},
        {utString(""), utString(utStringLit{}, ""), 1},
        {utString("abc"), utString(utStringLit{}, "abc"), 1},
        {utString("abc"), utString("abC"), 0},
        {utString("abc"), utString("ab"), 0},
        {utString(utStringArray{}, "a\0b", 3), utString(utStringArray{}, "a\0c", 3), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a == c.b, c.equal) << '"' << c.a.c_str() << "\" vs \"" << c.b.c_str() << '"';
        EXPECT_EQ(c.a != c.b, !c.equal);
    }
}

TEST(utString, CopiesShareTextUntilOneIsWritten) {
    utString a("1.5");
    {
        utString copy(a), assigned;
        assigned = copy;
        EXPECT_EQ(assigned.text(), a.text());
        EXPECT_TRUE(a.is_shared());
    }
    EXPECT_FALSE(a.is_shared()); // the copies gave their references back
    utString b(a);
    b.set_char(1, ',');
    EXPECT_STREQ(a.c_str(), "1.5");
    EXPECT_STREQ(b.c_str(), "1,5");
    const char* own = b.text();
    b.set_char(0, '2'); // already private: written in place
    EXPECT_EQ(b.text(), own);

    const char* text = "lower"; // literal text is copied before it is written
    utString literal(utStringLit{}, text);
    literal.convert(::toupper);
    EXPECT_STREQ(literal.c_str(), "LOWER");
    EXPECT_STREQ(text, "lower");
}

TEST(utString, ConstructorsClampAndCopy) {
    utString base("abcdef");
    EXPECT_STREQ(utString(base, 2, 3).c_str(), "cde");
    EXPECT_STREQ(utString(base, 4, 100).c_str(), "ef");
    EXPECT_STREQ(utString(base, -3, 2).c_str(), "ab");
    EXPECT_STREQ(utString(base, 10, 2).c_str(), "");
    EXPECT_TRUE(utString(utString(), 0, 1).is_null());
    EXPECT_STREQ(utString(utStringArray{}, "xyz", 2).c_str(), "xy");
    EXPECT_EQ(utString(utStringArray{}, "xyz", -1).length(), 0);
    EXPECT_TRUE(utString(static_cast<const char*>(nullptr)).is_null());

    char* joined = apconcat(3, "a", static_cast<const char*>(nullptr), "bc");
    utString claimed(utStringClaim{}, joined, 0);
    EXPECT_EQ(claimed.text(), joined);
    EXPECT_EQ(claimed.length(), 3);
}

TEST(utString, JoiningAndCaseCompare) {
    utString a("ab");
    utString b = a + utString("cd");
    EXPECT_STREQ(b.c_str(), "abcd");
    EXPECT_STREQ(a.c_str(), "ab");
    a << "x" << utString("y");
    a += a;
    EXPECT_STREQ(a.c_str(), "abxyabxy");
    EXPECT_EQ(utString("German").case_compare(utString("gERMAN")), 0);
    EXPECT_LT(utString("abc").case_compare(utString("ABD")), 0);
    EXPECT_GT(utString("abc").case_compare(utString()), 0);
}

TEST(utString, AssertReportIsOneLineOnStandardError) {
    int before = ut_assert_failure_count();
    testing::internal::CaptureStderr();
    ut_report_assert_failure("nls/nlsDataBase", 492, "boom", "f", "0");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Assertion failed: nls/nlsDataBase:492: boom in f (0)\n");
    EXPECT_EQ(ut_assert_failure_count(), before + 1);

    nlstest::AssertCapture capture;
    ut_report_assert_failure("file", 7, "msg", "fn", "0");
    ASSERT_EQ(capture.reports().size(), 1u);
    EXPECT_EQ(capture.reports()[0], "file:7: msg in fn (0)");
}

} // namespace
