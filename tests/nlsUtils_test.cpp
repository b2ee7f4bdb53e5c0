#include <nls/nlsUtils.h>

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

struct UtilsProbe : nlsUtils {
    using nlsUtils::fiddle_atof;
};

// Sets the C run-time numeric locale and the remembered decimal point for one test.
class NumericLocale {
public:
    explicit NumericLocale(const char* name) {
        m_old = std::setlocale(LC_NUMERIC, nullptr);
        m_ok = std::setlocale(LC_NUMERIC, name) != nullptr;
        nlsUtils::lookup_decimal_point();
    }
    ~NumericLocale() {
        std::setlocale(LC_NUMERIC, m_old.c_str());
        nlsUtils::lookup_decimal_point();
    }
    bool ok() const { return m_ok; }

private:
    std::string m_old;
    bool m_ok;
};

constexpr const char* kCommaLocale = "de_DE.UTF-8";

TEST(nlsUtils, CommaLocaleLooksUpAndConverts) {
    NumericLocale german(kCommaLocale);
    ASSERT_TRUE(german.ok()) << kCommaLocale << " is not installed";
    EXPECT_EQ(nlsUtils::lookup_decimal_point(), ',');
    struct Case {
        const char* text;
        const char* after;
        int result;
    } cases[] = {{"3.25", "3,25", 1}, {"1,234.5", "1,234,5", 1}, {"", "", 0}, {"42", "42", 0}};
    for (const Case& c : cases) {
        utString original(c.text);
        utString text(original); // shares the text: the write must not reach the original
        EXPECT_EQ(nlsUtils::convert_decimal_point(&text), c.result) << c.text;
        EXPECT_STREQ(text.c_str(), c.after);
        EXPECT_STREQ(original.c_str(), c.text);
    }
    EXPECT_EQ(nlsUtils::convert_decimal_point(nullptr), 0);
    EXPECT_DOUBLE_EQ(UtilsProbe::fiddle_atof("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(UtilsProbe::fiddle_atof("-0,25"), -0.25);
}

TEST(nlsUtils, IsNumericAllowsDigitsSignsAndOneSeparator) {
    for (char c : {'*', '/', ' ', '\xb2'})
        EXPECT_EQ(nlsUtils::is_numeric(c), 0) << c;
    struct Case {
        utString text;
        int numeric;
    } cases[] = {
        {"12.5", 1},  {"12,5", 1}, {"-3", 1},  {"1-", 1}, {"+-1", 1},      {"1.2.3", 0},
        {"1,2.3", 0}, {"1e5", 0},  {"1 2", 0}, {"", 0},   {utString(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nlsUtils::is_numeric(c.text), c.numeric) << '"' << c.text.c_str() << '"';
}

TEST(nlsUtils, FiddleAtofReadsEitherSeparatorUnderAPoint) {
    NumericLocale c("C");
    EXPECT_EQ(nlsUtils::lookup_decimal_point(), '.');
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"1,5", 1.5},
        {"1,234.5", 1.234},
        {"2e3", 2000.0},
        {"1E5", 1.5},
        {"", 0.0},
        {nullptr, 0.0},
        // Only the first 63 characters count: 61 zeros, "12", then 37 nines.
        {"0000000000000000000000000000000000000000000000000000000000000"
         "12"
         "9999999999999999999999999999999999999",
         12.0},
    };
    for (const Case& k : cases)
        EXPECT_DOUBLE_EQ(UtilsProbe::fiddle_atof(k.text), k.value) << (k.text ? k.text : "null");
    EXPECT_EQ(UtilsProbe::fiddle_atof("-inf"), -HUGE_VAL);
}

} // namespace
