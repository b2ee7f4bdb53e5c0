#include <platform/apUtils.h>

#include "nlsTestSupport.h"

namespace {

// Equality tells null from empty and compares every byte; constructors clamp their bounds.
TEST(utString, EqualityComparesWhatTheConstructorsKept) {
    const utString base("abcdef");
    const struct {
        const char* name;
        utString a, b;
        int equal;
    } cases[] = {
        {"null and empty", utString(), utString(""), 0},
        {"prefix", utString("abc"), utString("ab"), 0},
        {"after a NUL", utString(utStringArray{}, "a\0b", 3), utString(utStringArray{}, "a\0c", 3),
         0},
        {"length past the end", utString(base, 4, 3), utString("ef"), 1},
        {"negative start", utString(base, -3, 2), utString("ab"), 1},
        {"negative length", utString(utStringArray{}, "xyz", -1), utString(""), 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.a == c.b, c.equal) << c.name;
}

// Shared and literal text is copied before it is written (literal text written in place would
// crash); a claimed buffer is taken over as it is.
TEST(utString, SharedTextIsCopiedBeforeItIsWritten) {
    utString a("1.5"), written(a), joined(a);
    written.set_char(1, ',');
    joined += joined;
    EXPECT_STREQ((a + written + joined).c_str(), "1.51,51.51.5");
    utString source(utStringLit{}, "lower"), literal(source);
    literal.set_char(0, 'L');
    EXPECT_STREQ(literal.c_str(), "Lower");
    char* buffer = apconcat(3, "a", static_cast<const char*>(nullptr), "bc");
    utString claimed(utStringClaim{}, buffer, 0); // measured for a length of 0
    EXPECT_EQ(claimed.text(), buffer);
    EXPECT_EQ(claimed.length(), 3);
}

TEST(AssertReport, IsOneLineOnStandardError) {
    int before = ut_assert_failure_count();
    testing::internal::CaptureStderr();
    ut_report_assert_failure("nls/nlsDataBase", 492, "boom", "f", "0");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Assertion failed: nls/nlsDataBase:492: boom in f (0)\n");
    EXPECT_EQ(ut_assert_failure_count(), before + 1);
}

} // namespace
