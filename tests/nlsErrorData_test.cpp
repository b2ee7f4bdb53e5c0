#include <nls/nlsErrorData.h>

#include "nlsManagerTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(nlsErrorData, TextsPutTheirStringsInPlace) {
    // Each string names its slot, so that a text shows which one it used.
    const utString strings[] = {"s0", "s1", "s2"};
    const std::pair<unsigned int, const char*> cases[] = {
        {0, "nlsERROR_NONE"},
        {1024, "NLS Error: Internal error"}, // not in the table
        {129, "NLS Error: Domain does not exist"},
        {3072, "NLS Warning: Setting up locale for language <s0> failed"},
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
    // A value from the environment could otherwise forge a report line or drive a terminal.
    const utString odd[] = {"editor", "x\nNLS Error: forged\x1b[2J\x7f",
                            utString(utStringArray{}, "a\0b", 3)};
    EXPECT_STREQ(nlsDomainManager::error_to_string({33792, odd, 3}),
                 "NLS Warning: Catalog <editor> failed to load for language <x?NLS Error: "
                 "forged?[2J?> so fallback language <a?b> was used");
    // At most five strings.
    nlsErrorData full(nlsERROR_FAILED, strings, 3);
    for (int i = 0; i < 3; ++i)
        full.add_string(strings[i]);
    EXPECT_EQ(full.string_count(), 5);
}

struct TestDataBase : nlsDataBase {
    using nlsDataBase::error;
    using nlsDataBase::nlsDataBase;
};

using Handlers = nlstest::StateSavingTest;

// The default handlers: one line each on standard error; only the database's ends fatal codes in
// an assertion report.
TEST_F(Handlers, DefaultsWriteOneLineAndErrorsAssertUnlessTheHandlerCarriesOn) {
    TestDataBase database("editor");
    nlstest::AssertCapture asserts;
    testing::internal::CaptureStderr();
    // Worded as an error, but without the error bit it is not fatal.
    EXPECT_EQ(database.error(nlsErrorData(nlsERROR_DOMAIN_PATH)), 1);
    EXPECT_EQ(database.error(nlsErrorData(nlsERROR_NO_DOMAIN)), 0);
    EXPECT_EQ(nlstest::Manager::error(nlsErrorData(nlsERROR_MEMORY)), 1);
    // No handler at all silences even the fatal codes.
    nlsDataBase::error_handler(nullptr);
    EXPECT_EQ(database.error(nlsErrorData(nlsERROR_NO_DOMAIN)), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "NLS Error: Path to domain failed\n"
                                                      "NLS Error: Domain does not exist\n"
                                                      "NLS Error: memory error\n");
    EXPECT_EQ(asserts.reports(),
              std::vector<std::string>{"nls/nlsDataBase:492: nlsDataBase failed - "
                                       "with error 129 in nlsDataBase::error (0)"});
}

} // namespace
