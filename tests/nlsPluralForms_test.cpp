#include <nls/nlsPluralForms.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string header(const std::string& rule) {
    return "Content-Type: text/plain; charset=UTF-8\nPlural-Forms: " + rule + "\n";
}

// The rules of many languages are compared with glibc's in posix/msgfmt_oracle_test.cpp; these
// are the corners of C's operators.
TEST(nlsPluralForms, RulesFollowCsOperators) {
    struct Case {
        const char* name;
        const char* rule;
        std::vector<std::pair<unsigned long, unsigned long>> forms; // n, form
    };
    const Case cases[] = {
        {"|| short-circuits", "nplurals=2; plural=n==0 || 10/n > 2;", {{0, 1}, {1, 1}, {5, 0}}},
        {"! and unsigned wrap-around",
         "nplurals=3; plural=\tn - 2 > 5 ? 2 : !!n;",
         {{0, 2}, {1, 2}, {2, 1}, {8, 2}}},
        // == binds more loosely than <, either way round.
        {"relation before equality", "nplurals=2; plural=n > 2 == 1;", {{1, 0}, {3, 1}}},
        {"equality after relation", "nplurals=2; plural=1 == n < 2;", {{1, 1}, {5, 0}}},
        // && and || give 0 or 1, whatever their operands are.
        {"&& is boolean", "nplurals=3; plural=n && 2;", {{0, 0}, {5, 1}}},
        {"|| is boolean", "nplurals=3; plural=n == 0 || n;", {{0, 1}, {2, 1}}},
        // Constants and n next to a branch's end are no operands of their own.
        {"constant after a branch",
         "nplurals=9; plural=(n==1 ? 5 : n) + 2;",
         {{1, 7}, {0, 2}, {3, 5}}},
        {"n before a branch", "nplurals=5; plural=n + (n > 1 ? 0 : 1);", {{0, 1}, {1, 2}, {2, 2}}},
    };
    for (const Case& c : cases) {
        nlsPluralForms rule(header(c.rule).c_str());
        ASSERT_TRUE(rule.parsed()) << c.name;
        for (auto [n, form] : c.forms)
            EXPECT_EQ(rule.index(n), form) << c.name << " n=" << n;
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

    // Parsed, but some calls have no answer: those get n != 1.
    nlsPluralForms by_zero(header("nplurals=3; plural=n % (n - 2) ? 2 : 0;").c_str());
    EXPECT_EQ(by_zero.index(2), 1u); // divides by zero
    EXPECT_EQ(by_zero.index(5), 2u);
    EXPECT_EQ(nlsPluralForms(header("nplurals=0; plural=0;").c_str()).index(2), 1u);
}

} // namespace
