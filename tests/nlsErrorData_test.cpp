#include <nls/nlsDataBase.h>
#include <nls/nlsDomainManager.h>
#include <nls/nlsErrorData.h>

#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

struct TestDataBase : nlsDataBase {
    using nlsDataBase::error;
    using nlsDataBase::nlsDataBase;
};

TEST(nlsErrorData, TextsOfEveryCode) {
    // Each string names its slot, so that a text shows which one it used.
    const utString strings[] = {"s0", "s1", "s2"};
    const std::pair<unsigned int, const char*> cases[] = {
        {0, "nlsERROR_NONE"},
        {1, "NLS Error: Internal error"},
        {1024, "NLS Error: Internal error"}, // not in the table
        {5, "NLS Error: Initialisation failed"},
        {9, "NLS Error: Could not stat the catalog"},
        {17, "NLS Error: Could not open the catalog"},
        {33, "NLS Error: Catalog Magic number failed"},
        {65, "NLS Error: Catalog revision number is incompatible"},
        {129, "NLS Error: Domain does not exist"},
        {257, "NLS Error: memory error"},
        {3072, "NLS Warning: Setting up locale for language <s0> failed"},
        {5120, "NLS Warning: Catalog <s0> failed to load for language <s1>"},
        {9216, "NLS Error: Path to domain failed"},
        {17408,
         "NLS Error: Domain (nls database) already exists for catalog <s0> and language <s1>"},
        {33792, "NLS Warning: Catalog <s0> failed to load for language <s1> so fallback language "
                "<s2> was used"},
    };
    for (const auto& [code, text] : cases)
        EXPECT_STREQ(nlsDomainManager::error_to_string({code, strings, 3}), text) << code;
    EXPECT_STREQ(nlsDomainManager::error_to_string(nlsErrorData(5120, nullptr, 3)),
                 "NLS Warning: Catalog <Internal range error> failed to load for language "
                 "<Internal range error>");
}

TEST(nlsErrorData, ControlCharactersInStringsShowAsQuestionMarks) {
    // A value from the environment could otherwise forge a report line or drive a terminal.
    const utString strings[] = {"editor", "x\nNLS Error: forged\x1b[2J\x7f",
                                utString(utStringArray{}, "a\0b", 3)};
    EXPECT_STREQ(nlsDomainManager::error_to_string({33792, strings, 3}),
                 "NLS Warning: Catalog <editor> failed to load for language <x?NLS Error: "
                 "forged?[2J?> so fallback language <a?b> was used");
}

TEST(nlsErrorData, HoldsAtMostFiveStrings) {
    const utString strings[6] = {"0", "1", "2", "3", "4", "5"};
    nlsErrorData full(nlsERROR_FAILED, strings, 6);
    full.add_string(strings[5]);
    EXPECT_EQ(full.string_count(), 5);
}

TEST(nlsDataBase, ErrorsEndInAnAssertionReportUnlessTheHandlerCarriesOn) {
    TestDataBase database("editor");
    nlstest::AssertCapture asserts;
    testing::internal::CaptureStderr();
    // Worded as an error, but without the error bit it is not fatal.
    EXPECT_EQ(database.error(nlsErrorData(nlsERROR_DOMAIN_PATH)), 1);
    EXPECT_EQ(database.error(nlsErrorData(nlsERROR_NO_DOMAIN)), 0);
    // No handler at all silences even the fatal codes.
    nlsDataBase::handler_type original = nlsDataBase::error_handler(nullptr);
    EXPECT_EQ(database.error(nlsErrorData(nlsERROR_NO_DOMAIN)), 1);
    EXPECT_EQ(nlsDataBase::error_handler(original), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "NLS Error: Path to domain failed\nNLS Error: Domain does not exist\n");
    EXPECT_EQ(asserts.reports(),
              std::vector<std::string>{"nls/nlsDataBase:492: nlsDataBase failed - "
                                       "with error 129 in nlsDataBase::error (0)"});
}

} // namespace
