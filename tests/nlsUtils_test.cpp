#include <nls/nlsUtils.h>
#include <platform/apCrtLocale.h>

#include "nlsManagerTestSupport.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>

namespace {

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

TEST(nlsUtils, IsNumericAllowsDigitsSignsAndOneSeparator) {
    for (char c : {'*', '/', ' ', '\xb2'})
        EXPECT_EQ(nlsUtils::is_numeric(c), 0) << c;
    for (const char* text : {"12.5", "12,5", "-3", "1-", "+-1"})
        EXPECT_EQ(nlsUtils::is_numeric(utString(text)), 1) << text;
    for (const char* text : {"1.2.3", "1,2.3", "1e5", "1 2", ""})
        EXPECT_EQ(nlsUtils::is_numeric(utString(text)), 0) << text;
    EXPECT_EQ(nlsUtils::is_numeric(utString()), 0);
}

TEST_F(Numbers, FiddleAtofReadsEitherSeparatorUnderAPoint) {
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_EQ(nlsUtils::lookup_decimal_point(), '.');
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
