#include <nls/nlsPluralForms.h>

#include <gtest/gtest.h>
#include <string>

namespace {

std::string header(const std::string& rule) {
    return "Content-Type: text/plain; charset=UTF-8\nPlural-Forms: " + rule + "\n";
}

// The rules of many languages are compared with glibc's in posix/msgfmt_oracle_test.cpp; these
// are the corners of C's operators. A form the rule cannot give (a division by zero, a form past
// nplurals) is n != 1's.
TEST(nlsPluralForms, RulesFollowCsOperators) {
    const char* const cases[][3] = {
        // name, rule, forms for n = 0, 1, 2, 3, 5, 8
        {"|| short-circuits", "nplurals=2; plural=n==0 || 10/n > 2;", "111100"},
        {"! and unsigned wrap-around", "nplurals=3; plural=\tn - 2 > 5 ? 2 : !!n;", "221112"},
        // == binds more loosely than <, either way round.
        {"relation before equality", "nplurals=2; plural=n > 2 == 1;", "000111"},
        {"equality after relation", "nplurals=2; plural=1 == n < 2;", "110000"},
        // && and || give 0 or 1, whatever their operands are.
        {"&& is boolean", "nplurals=3; plural=n && 2;", "011111"},
        {"|| is boolean", "nplurals=3; plural=n == 0 || n;", "111111"},
        // Constants and n next to a branch's end are no operands of their own.
        {"constant after a branch", "nplurals=9; plural=(n==1 ? 5 : n) + 2;", "274571"},
        {"n before a branch", "nplurals=5; plural=n + (n > 1 ? 0 : 1);", "122311"},
        {"division by zero", "nplurals=3; plural=n % (n - 2) ? 2 : 0;", "021022"},
        {"no forms", "nplurals=0; plural=0;", "101111"},
    };
    for (const auto& [name, text, forms] : cases) {
        nlsPluralForms rule(header(text).c_str());
        ASSERT_TRUE(rule.parsed()) << name;
        const unsigned long ns[] = {0, 1, 2, 3, 5, 8};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(rule.index(ns[i]), static_cast<unsigned long>(forms[i] - '0'))
                << name << " n=" << ns[i];
    }
}

TEST(nlsPluralForms, BrokenRulesFallBackToTheGermanicRule) {
    std::string sum = "n", deep(10000, '(');
    while (sum.size() < 400)
        sum += "+n";
    const std::pair<const char*, std::string> rules[] = {
        {"! before an operand", "nplurals=2; plural=n ! 1;"},
        {"unclosed parenthesis", "nplurals=2; plural=(n != 1;"},
        {"?: without its :", "nplurals=2; plural=n != 1 ? 0;"},
        {"text after the rule", "nplurals=2; plural=n != 1 garbage;"},
        {"control bytes", "nplurals=2; plural=\x01\xff;"},
        {"constant too large", "nplurals=2; plural=99999999999 > n;"},
        {"program too long", "nplurals=2; plural=" + sum + ";"},
        {"nesting too deep", "nplurals=2; plural=" + deep + "n;"},
        {"negations too deep", "nplurals=2; plural=" + std::string(10000, '!') + "n;"},
        {"empty", ""},
        {"no nplurals", "Plural-Forms: plural=n != 1;"},
        {"nplurals not a number", "nplurals=x; plural=n;"},
    };
    for (const auto& [name, text] : rules) {
        nlsPluralForms rule(header(text).c_str());
        EXPECT_FALSE(rule.parsed()) << name;
        EXPECT_EQ(rule.nplurals(), 2u) << name;
        EXPECT_EQ(rule.index(1) + 10 * rule.index(7), 10u) << name; // n != 1
    }
    EXPECT_FALSE(nlsPluralForms(nullptr).parsed());
}

} // namespace
