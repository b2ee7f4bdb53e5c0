#include <nls/nlsDataBase.h>
#include <nls/nlsDomainManager.h>
#include <nls/nlsErrorData.h>

#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;
using Reports = std::vector<std::string>;

struct TestDataBase : nlsDataBase {
    using nlsDataBase::error;
    using nlsDataBase::nlsDataBase;
};

/// A record of `code` holding "s0", "s1" and "s2", so that a text shows which slot it used.
nlsErrorData record(unsigned int code) {
    const utString strings[] = {"s0", "s1", "s2"};
    return nlsErrorData(code, strings, 3);
}

TEST(nlsErrorData, TextsOfEveryCode) {
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
        EXPECT_STREQ(nlsDomainManager::error_to_string(record(code)), text) << code;
    EXPECT_STREQ(nlsDomainManager::error_to_string(nlsErrorData(5120)),
                 "NLS Warning: Catalog <Internal range error> failed to load for language "
                 "<Internal range error>");
}

TEST(nlsErrorData, HoldsAtMostFiveStringsAndGuardsItsIndex) {
    const utString strings[6] = {"0", "1", "2", "3", "4", "5"};
    nlsErrorData full(nlsERROR_FAILED, strings, 100); // clamped to five
    full.add_string(strings[5]);                      // ignored: five are held
    EXPECT_EQ(full.string_count(), 5);
    EXPECT_STREQ(full.get_string(4).c_str(), "4");
    for (int index : {5, -1})
        EXPECT_STREQ(full.get_string(index).c_str(), "Internal range error") << index;
    EXPECT_EQ(nlsErrorData(nlsERROR_FAILED, strings, -1).string_count(), 0);
    EXPECT_EQ(nlsErrorData(nlsERROR_FAILED, nullptr, 3).string_count(), 0);
}

TEST(nlsDomainManager, SetVerboseInfoReturnsTheOldValue) {
    EXPECT_EQ(nlsDomainManager::set_verbose_info(5), 0);
    EXPECT_EQ(nlsDomainManager::verbose_info(), 5);
}

TEST(nlsDataBase, ErrorsEndInAnAssertionReportUnlessTheHandlerCarriesOn) {
    TestDataBase database("editor");
    nlstest::AssertCapture asserts;
    CaptureStdout();
    EXPECT_EQ(database.error(record(nlsERROR_NONE)), 1); // no handler call, so no line
    // Worded as an error, but without the error bit it is not fatal.
    EXPECT_EQ(database.error(record(nlsERROR_DOMAIN_PATH)), 1);
    EXPECT_EQ(database.error(record(nlsERROR_NO_DOMAIN)), 0);
    EXPECT_EQ(GetCapturedStdout(),
              "NLS Error: Path to domain failed\nNLS Error: Domain does not exist\n");
    EXPECT_EQ(asserts.reports(), Reports{"nls/nlsDataBase:492: nlsDataBase failed - with error 129 "
                                         "in nlsDataBase::error (0)"});

    nlsDataBase::handler_type original =
        nlsDataBase::error_handler([](const nlsDataBase&, const nlsErrorData&) { return 0; });
    EXPECT_EQ(database.error(record(nlsERROR_CATALOG_LANGUAGE)), 0); // fatal as the handler says
    EXPECT_EQ(asserts.reports().size(), 2u);

    nlsDataBase::error_handler(nullptr); // silences everything, fatal codes included
    EXPECT_EQ(database.error(record(nlsERROR_NO_DOMAIN)), 1);
    EXPECT_EQ(nlsDataBase::error_handler(original), nullptr);
    // The first call gave the default back: an error is fatal again.
    EXPECT_EQ(database.error(record(nlsERROR_NO_DOMAIN)), 0);
}

} // namespace
