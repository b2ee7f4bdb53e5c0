#include <nls/nlsDataBase.h>
#include <nls/nlsDomainManager.h>
#include <nls/nlsErrorData.h>

#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

struct ManagerProbe : nlsDomainManager {
    using nlsDomainManager::error;
    using nlsDomainManager::the_error_handler;
};

class TestDataBase : public nlsDataBase {
public:
    using nlsDataBase::error;
    using nlsDataBase::nlsDataBase;
};

nlsErrorData record(unsigned int code, std::vector<const char*> strings = {}) {
    nlsErrorData data(code);
    for (const char* s : strings)
        data.add_string(utString(s));
    return data;
}

TEST(nlsErrorData, TextsOfEveryCode) {
    struct Case {
        nlsErrorData data;
        const char* text;
    } cases[] = {
        {record(0), "nlsERROR_NONE"},
        {record(1), "NLS Error: Internal error"},
        {record(2), "NLS Error: Internal error"},
        {record(1024), "NLS Error: Internal error"},
        {record(1025, {"x"}), "NLS Error: Internal error"},
        {record(5), "NLS Error: Initialisation failed"},
        {record(9), "NLS Error: Could not stat the catalog"},
        {record(17), "NLS Error: Could not open the catalog"},
        {record(33), "NLS Error: Catalog Magic number failed"},
        {record(65), "NLS Error: Catalog revision number is incompatible"},
        {record(129), "NLS Error: Domain does not exist"},
        {record(257), "NLS Error: memory error"},
        {record(3072, {"de_XX"}), "NLS Warning: Setting up locale for language <de_XX> failed"},
        {record(5120, {"editor", "Latin"}),
         "NLS Warning: Catalog <editor> failed to load for language <Latin>"},
        {record(5120, {"editor"}),
         "NLS Warning: Catalog <editor> failed to load for language <Internal range error>"},
        {record(9216), "NLS Error: Path to domain failed"},
        {record(17408, {"editor", "German"}),
         "NLS Error: Domain (nls database) already exists for catalog <editor> and language "
         "<German>"},
        {record(17408),
         "NLS Error: Domain (nls database) already exists for catalog <Internal range error> and "
         "language <Internal range error>"},
        {record(33792, {"editor", "German-AUT", "German"}),
         "NLS Warning: Catalog <editor> failed to load for language <German-AUT> so fallback "
         "language <German> was used"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(nlsDomainManager::error_to_string(c.data), c.text) << "code " << c.data.code();
}

TEST(nlsErrorData, HoldsAtMostFiveStringsAndGuardsItsIndex) {
    nlsErrorData data(nlsERROR_CATALOG_FALLBACK);
    for (const char* s : {"a", "b", "c", "d", "e", "f"})
        data.add_string(utString(s));
    EXPECT_EQ(data.string_count(), 5);
    EXPECT_STREQ(data.get_string(4).c_str(), "e");
    for (int index : {5, 6, -1, -2147483647 - 1})
        EXPECT_STREQ(data.get_string(index).c_str(), "Internal range error") << index;

    nlsErrorData one(nlsERROR_LOCALE_SETUP, utString("x"));
    EXPECT_STREQ(one.get_string(0).c_str(), "x");
    EXPECT_STREQ(one.get_string(1).c_str(), "Internal range error");
}

TEST(nlsErrorData, ArrayConstructorClampsItsCount) {
    const utString strings[7] = {"0", "1", "2", "3", "4", "5", "6"};
    struct Case {
        int count, held;
    } cases[] = {{-1, 0}, {0, 0}, {3, 3}, {5, 5}, {6, 5}, {100, 5}};
    for (const Case& c : cases) {
        nlsErrorData data(nlsERROR_FAILED, strings, c.count);
        EXPECT_EQ(data.string_count(), c.held) << c.count;
        for (int i = 0; i < c.held; ++i)
            EXPECT_EQ(data.get_string(i), strings[i]);
    }
    EXPECT_EQ(nlsErrorData(nlsERROR_FAILED, nullptr, 3).string_count(), 0);
}

TEST(nlsErrorData, CopiesCarryCodeAndStrings) {
    nlsErrorData original = record(nlsERROR_DOMAIN_EXISTS, {"editor", "German"});
    nlsErrorData copy(original);
    std::string text = nlsDomainManager::error_to_string(original); // valid until the next call
    EXPECT_EQ(nlsDomainManager::error_to_string(copy), text);
    nlsErrorData assigned = record(nlsERROR_CATALOG_FALLBACK, {"a", "b", "c"});
    assigned = original;
    EXPECT_EQ(assigned.code(), nlsERROR_DOMAIN_EXISTS);
    EXPECT_EQ(assigned.string_count(), 2);
    EXPECT_STREQ(assigned.get_string(2).c_str(), "Internal range error");
}

int g_calls = 0;
unsigned int g_seen_code = 0;

TEST(nlsDomainManager, ErrorGoesThroughTheReplaceableHandler) {
    CaptureStdout();
    EXPECT_EQ(ManagerProbe::error(record(nlsERROR_CATALOG_OPEN)), 1); // default: one line, go on
    EXPECT_EQ(ManagerProbe::error(record(nlsERROR_NONE)), 1);
    EXPECT_EQ(GetCapturedStdout(), "NLS Error: Could not open the catalog\n");

    ManagerProbe::the_error_handler = [](const nlsErrorData& data) {
        ++g_calls;
        g_seen_code = data.code();
        return 0;
    };
    EXPECT_EQ(ManagerProbe::error(record(nlsERROR_NONE)), 1);
    EXPECT_EQ(g_calls, 0);
    EXPECT_EQ(ManagerProbe::error(record(nlsERROR_LOCALE_SETUP, {"xx"})), 0);
    EXPECT_EQ(g_seen_code, nlsERROR_LOCALE_SETUP);

    ManagerProbe::the_error_handler = nullptr;
    EXPECT_EQ(ManagerProbe::error(record(nlsERROR_CATALOG_OPEN)), 1);
    EXPECT_EQ(g_calls, 1);
}

TEST(nlsDomainManager, VerboseSwitchReturnsThePreviousValue) {
    EXPECT_EQ(nlsDomainManager::verbose_info(), 0);
    EXPECT_EQ(nlsDomainManager::set_verbose_info(5), 0);
    EXPECT_EQ(nlsDomainManager::verbose_info(), 5);
    EXPECT_EQ(nlsDomainManager::set_verbose_info(0), 5);
    EXPECT_EQ(nlsDomainManager::verbose_info(), 0);
}

TEST(nlsDataBase, DefaultHandlerWritesOneLineAndErrorsEndInAnAssertionReport) {
    struct Case {
        nlsErrorData data;
        int result;
        const char* line;
        const char* report; // null: none
    } cases[] = {
        {record(nlsERROR_CATALOG_LANGUAGE, {"editor", "Latin"}), 1,
         "NLS Warning: Catalog <editor> failed to load for language <Latin>\n", nullptr},
        // Worded as an error, but without the error bit it is not fatal.
        {record(nlsERROR_DOMAIN_EXISTS, {"editor", "C"}), 1,
         "NLS Error: Domain (nls database) already exists for catalog <editor> and language <C>\n",
         nullptr},
        {record(nlsERROR_CATALOG_OPEN), 0, "NLS Error: Could not open the catalog\n",
         "nls/nlsDataBase:492: nlsDataBase failed - with error 17 in nlsDataBase::error (0)"},
        {record(nlsERROR_NO_DOMAIN), 0, "NLS Error: Domain does not exist\n",
         "nls/nlsDataBase:492: nlsDataBase failed - with error 129 in nlsDataBase::error (0)"},
        {record(nlsERROR_NONE), 1, "", nullptr},
    };
    TestDataBase database("editor");
    for (const Case& c : cases) {
        nlstest::AssertCapture asserts;
        CaptureStdout();
        EXPECT_EQ(database.error(c.data), c.result) << c.data.code();
        EXPECT_EQ(GetCapturedStdout(), c.line);
        std::vector<std::string> expected;
        if (c.report) expected.push_back(c.report);
        EXPECT_EQ(asserts.reports(), expected);
    }
}

const nlsDataBase* g_seen_database = nullptr;

TEST(nlsDataBase, ErrorHandlerCanBeReplacedOrSilenced) {
    TestDataBase database("editor");
    nlsDataBase::handler_type fatal = [](const nlsDataBase& db, const nlsErrorData& data) {
        ++g_calls;
        g_seen_database = &db;
        g_seen_code = data.code();
        return 0;
    };
    nlsDataBase::handler_type original = nlsDataBase::error_handler(fatal);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(nlsDataBase::error_handler(fatal), fatal);

    nlstest::AssertCapture asserts;
    CaptureStdout();
    EXPECT_EQ(database.error(record(nlsERROR_NONE)), 1);
    EXPECT_EQ(g_calls, 0);
    // A warning too is fatal when the handler says so.
    EXPECT_EQ(database.error(record(nlsERROR_CATALOG_LANGUAGE)), 0);
    EXPECT_EQ(g_seen_database, &database);
    EXPECT_EQ(g_seen_code, nlsERROR_CATALOG_LANGUAGE);
    EXPECT_EQ(asserts.reports(),
              std::vector<std::string>{"nls/nlsDataBase:492: nlsDataBase failed - with error 5120 "
                                       "in nlsDataBase::error (0)"});

    EXPECT_EQ(nlsDataBase::error_handler(nullptr), fatal);
    EXPECT_EQ(database.error(record(nlsERROR_MEMORY)), 1);
    EXPECT_EQ(g_calls, 1);
    EXPECT_EQ(asserts.reports().size(), 1u);
    EXPECT_EQ(GetCapturedStdout(), "");

    nlsDataBase::error_handler(original);
    CaptureStdout();
    EXPECT_EQ(database.error(record(nlsERROR_MEMORY)), 0);
    EXPECT_EQ(GetCapturedStdout(), "NLS Error: memory error\n");
}

} // namespace
