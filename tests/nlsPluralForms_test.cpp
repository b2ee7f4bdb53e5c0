#include <nls/nlsPluralForms.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string header(const std::string& rule) {
    return "Content-Type: text/plain; charset=UTF-8\nPlural-Forms: " + rule + "\n";
}

// The rules of many languages are compared with glibc's results in posix/msgfmt_oracle_test.cpp;
// these run everywhere, with the corners of C's operators.
TEST(nlsPluralForms, RulesInUseGiveTheirForms) {
    struct Case {
        const char* rule;
        std::vector<std::pair<unsigned long, unsigned long>> forms; // n, form
    };
    const Case cases[] = {
        {"nplurals=2; plural=n != 1;", {{0, 1}, {1, 0}, {2, 1}}},
        {"nplurals=2; plural=(n > 1);", {{0, 0}, {1, 0}, {2, 1}}},
        {"nplurals=1; plural=0;", {{0, 0}, {1, 0}, {1000000, 0}}},
        {"nplurals=6; plural=n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : n%100>=3 && n%100<=10 ? 3 : "
         "n%100>=11 ? 4 : 5;",
         {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {110, 3}, {11, 4}, {99, 4}, {100, 5}, {102, 5}}},
        // || short-circuits, ! and unsigned wrap-around as in C.
        {"nplurals=2; plural=n==0 || 10/n > 2;", {{0, 1}, {1, 1}, {5, 0}}},
        {"nplurals=2; plural=!(n-1);", {{1, 1}, {0, 0}, {2, 0}}},
        {"nplurals=3; plural=\tn - 2 > 5 ? 2 : !!n;", {{0, 2}, {1, 2}, {2, 1}, {8, 2}}},
        // Constants and n next to a branch's end are no operands of their own.
        {"nplurals=9; plural=(n==1 ? 5 : n) + 2;", {{1, 7}, {0, 2}, {3, 5}}},
        {"nplurals=6; plural=(n > 2 ? 7 : n) % 5;", {{0, 0}, {1, 1}, {3, 2}}},
        {"nplurals=4; plural=2 * (n && 1) + (n || 0);", {{0, 0}, {5, 3}}},
        {"nplurals=5; plural=n + (n > 1 ? 0 : 1);", {{0, 1}, {1, 2}, {2, 2}}},
    };
    for (const Case& c : cases) {
        nlsPluralForms rule(header(c.rule).c_str());
        ASSERT_TRUE(rule.parsed()) << c.rule;
        for (auto [n, form] : c.forms)
            EXPECT_EQ(rule.index(n), form) << c.rule << " n=" << n;
    }
}

TEST(nlsPluralForms, BrokenRulesFallBackToTheGermanicRule) {
    std::string deep =
        "nplurals=2; plural=" + std::string(10000, '(') + "n" + std::string(10000, ')') + ";";
    std::string negations = "nplurals=2; plural=" + std::string(10000, '!') + "n;";
    std::string long_rule = "nplurals=2; plural=n";
    for (int i = 0; i < 200; ++i)
        long_rule += "+n";
    const std::string unparsed[] = {
        "",
        "Plural-Forms: nplurals=2;",
        "Plural-Forms: plural=n != 1;",
        "nplurals=x; plural=n != 1;",
        "nplurals=2; plural=n ! 1;",
        "nplurals=2; plural=n = 1;",
        "nplurals=2; plural=(n != 1;",
        "nplurals=2; plural=n != 1 ? 0;",
        "nplurals=2; plural=n & 1;",
        "nplurals=2; plural=n != 1 garbage;",
        "nplurals=2; plural=99999999999 > n;",
        deep,
        negations,
        long_rule,
    };
    for (const std::string& text : unparsed) {
        nlsPluralForms rule(header(text).c_str());
        EXPECT_FALSE(rule.parsed()) << text.substr(0, 60);
        EXPECT_EQ(rule.nplurals(), 2u);
        EXPECT_EQ(rule.index(1), 0u);
        EXPECT_EQ(rule.index(0), 1u);
        EXPECT_EQ(rule.index(7), 1u);
    }
    EXPECT_FALSE(nlsPluralForms(nullptr).parsed());

    // Parsed, but some calls have no answer: those get n != 1.
    nlsPluralForms by_zero(header("nplurals=3; plural=n % (n - 2) ? 2 : 0;").c_str());
    ASSERT_TRUE(by_zero.parsed());
    EXPECT_EQ(by_zero.index(2), 1u); // divides by zero
    EXPECT_EQ(by_zero.index(5), 2u);
    nlsPluralForms too_far(header("nplurals=2; plural=n;").c_str());
    EXPECT_EQ(too_far.index(1), 1u);
    EXPECT_EQ(too_far.index(3), 1u); // 3 is no form
    EXPECT_EQ(too_far.index(1), 1u);
    nlsPluralForms none(header("nplurals=0; plural=0;").c_str());
    EXPECT_EQ(none.index(1), 0u);
    EXPECT_EQ(none.index(2), 1u);
}

} // namespace
