// Numbers: the language's numeric locales, neutral blocks and the decimal-point utilities.

#include <nls/nlsNeutralNumbers.h>
#include <nls/nlsUtils.h>
#include <platform/internal/apCrtLocale.h>

#include "nlsTestSupport.h"

#include <clocale>
#include <sstream>

namespace {

std::string streamed() {
    std::ostringstream out;
    out << 1234567 << ' ' << 2.5;
    return out.str();
}

using Numbers = nlstest::ManagerTest;

// Only the named locale groups digits as the language does, on every platform; a neutral block
// has C's conventions and puts the outer ones back.
TEST_F(Numbers, LanguageNumbersHaveNoGroupingAndNeutralBlocksNone) {
    nlstest::ScopedEnv german("LANG", "German");
    ASSERT_EQ(nlsDomainManager::setlocale(LC_ALL), 0u);
    EXPECT_EQ(streamed(), "1234567 2,5");
    EXPECT_TRUE(nlsDomainManager::set_cpp_named_locale());
    EXPECT_EQ(streamed(), "1.234.567 2,5");
    EXPECT_TRUE(nlsDomainManager::set_cpp_num_locale());
    EXPECT_EQ(streamed(), "1234567 2,5");
    std::locale before;
    {
        nlsNeutralNumbers neutral;
        EXPECT_EQ(std::to_string(1.5), "1.500000");
        EXPECT_EQ(streamed(), "1234567 2.5");
        EXPECT_EQ(nlsUtils::lookup_decimal_point(), '.');
        {
            nlsNeutralNumbers translated(nlsNumbersTranslated);
            EXPECT_EQ(std::to_string(1.5), "1,500000");
        }
        EXPECT_EQ(std::to_string(1.5), "1.500000");
    }
    EXPECT_EQ(std::to_string(1.5), "1,500000");
    EXPECT_TRUE(std::locale() == before);
}

struct UtilsProbe : nlsUtils {
    using nlsUtils::fiddle_atof;
};

using DecimalPoint = nlstest::StateSavingTest;

// Convert rewrites the last separator of its own copy; numeric text has one separator at most.
TEST_F(DecimalPoint, ConvertAndCheckNumericText) {
    ASSERT_TRUE(ap_setlocale(LC_NUMERIC, "German", "de-DE")) << "no German locale installed";
    EXPECT_EQ(nlsUtils::lookup_decimal_point(), ',');
    const utString original("1.003.25");
    utString shared(original), whole("42"); // the write must not reach the original
    EXPECT_EQ(nlsUtils::convert_decimal_point(&shared), 1);
    EXPECT_STREQ(shared.c_str(), "1.003,25");
    EXPECT_STREQ(original.c_str(), "1.003.25");
    EXPECT_EQ(nlsUtils::convert_decimal_point(&whole), 0);
    EXPECT_EQ(nlsUtils::convert_decimal_point(nullptr), 0);
    const std::pair<const char*, int> cases[] = {{"12,5", 1}, {"+-1", 1},  {"1,2.3", 0}, {"1/2", 0},
                                                 {"*1", 0},   {"\xb2", 0}, {"", 0}};
    for (const auto& [text, numeric] : cases)
        EXPECT_EQ(nlsUtils::is_numeric(utString(text)), numeric) << text;
}

// Read with either separator whatever the run time's, and only the first 63 characters.
TEST_F(DecimalPoint, FiddleAtofReadsEitherSeparator) {
    const std::string long_text = std::string(61, '0') + "12" + "999";
    const std::pair<const char*, double> cases[] = {
        {"1,5", 1.5}, {"1.5", 1.5}, {"2e3", 2000.0}, {nullptr, 0.0}, {long_text.c_str(), 12.0}};
    for (const char* locale : {"C", "German"}) {
        ASSERT_TRUE(ap_setlocale(LC_NUMERIC, locale, locale[0] == 'G' ? "de-DE" : nullptr));
        nlsUtils::lookup_decimal_point();
        for (const auto& [text, value] : cases)
            EXPECT_DOUBLE_EQ(UtilsProbe::fiddle_atof(text), value) << locale << " " << text;
    }
}

} // namespace
