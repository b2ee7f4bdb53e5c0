#include "nlsTestSupport.h"

namespace {

TEST(nlsErrorData, TextsPutTheirStringsInPlace) {
    const utString strings[] = {"s0", "s1", "s2"};
    const utString odd[] = {"editor", "x\nNLS Error: forged\x1b[2J\x7f",
                            utString(utStringArray{}, "a\0b", 3)};
    const struct {
        const char* name;
        nlsErrorData data;
        const char* text;
    } cases[] = {
        {"no error", {nlsERROR_NONE, strings, 3}, "nlsERROR_NONE"},
        {"a code not in the table", {1024, strings, 3}, "NLS Error: Internal error"},
        {"strings missing",
         {nlsERROR_CATALOG_LANGUAGE, nullptr, 3},
         "NLS Warning: Catalog <Internal range error> failed to load for language <Internal range "
         "error>"},
        // A value from the environment could otherwise forge a report line or drive a terminal.
        {"control characters",
         {nlsERROR_CATALOG_FALLBACK, odd, 3},
         "NLS Warning: Catalog <editor> failed to load for language <x?NLS Error: forged?[2J?> so "
         "fallback language <a?b> was used"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(nlsDomainManager::error_to_string(c.data), c.text) << c.name;
    nlsErrorData full(nlsERROR_FAILED);
    for (int i = 0; i < 7; ++i)
        full.add_string(utString("s"));
    EXPECT_EQ(full.string_count(), 5); // the rest dropped
}

using Handlers = nlstest::StateSavingTest;

// The default handlers write a line on standard error; the database's asserts on fatal codes
// (the error bit set) and stops there, and no handler at all silences everything.
TEST_F(Handlers, DefaultsReportOnStandardError) {
    nlstest::DataBase database("editor");
    nlstest::AssertCapture asserts;
    testing::internal::CaptureStderr();
    EXPECT_EQ(database.error(nlsErrorData(nlsERROR_DOMAIN_PATH)), 1); // worded as an error only
    EXPECT_EQ(database.error(nlsErrorData(nlsERROR_NO_DOMAIN)), 0);
    EXPECT_EQ(nlstest::Manager::error(nlsErrorData(nlsERROR_MEMORY)), 1);
    nlsDataBase::error_handler(nullptr);
    EXPECT_EQ(database.error(nlsErrorData(nlsERROR_NO_DOMAIN)), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "NLS Error: Path to domain failed\n"
                                                      "NLS Error: Domain does not exist\n"
                                                      "NLS Error: memory error\n");
    EXPECT_EQ(asserts.count(), 1);
}

} // namespace
