#include <platform/apUtils.h>
#include <platform/utString.h>

#include <gtest/gtest.h>

namespace {

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

} // namespace
