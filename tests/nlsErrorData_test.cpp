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
    const utString strings[6] = {"0", "1", "2", "3", "4", "5"};
    struct Case {
        int count, held;
    } cases[] = {{-1, 0}, {0, 0}, {3, 3}, {5, 5}, {6, 5}, {100, 5}};
    for (const Case& c : cases) {
        nlsErrorData data(nlsERROR_FAILED, strings, c.count);
        EXPECT_EQ(data.string_count(), c.held) << c.count;
        for (int index : {c.held, 5, -1})
            EXPECT_STREQ(data.get_string(index).c_str(), "Internal range error") << index;
    }
    nlsErrorData full(nlsERROR_FAILED, strings, 5);
    full.add_string(strings[5]);
    EXPECT_EQ(full.string_count(), 5);
    EXPECT_STREQ(full.get_string(4).c_str(), "4");
    EXPECT_EQ(nlsErrorData(nlsERROR_FAILED, nullptr, 3).string_count(), 0);
}

int g_calls = 0;
const nlsDataBase* g_seen_database = nullptr;

TEST(nlsDomainManager, HandlerAndVerboseSwitch) {
    CaptureStdout();
    EXPECT_EQ(ManagerProbe::error(record(nlsERROR_CATALOG_OPEN)), 1); // default: one line, go on
    EXPECT_EQ(GetCapturedStdout(), "NLS Error: Could not open the catalog\n");
    ManagerProbe::the_error_handler = [](const nlsErrorData&) {
        ++g_calls;
        return 0;
    };
    EXPECT_EQ(ManagerProbe::error(record(nlsERROR_NONE)), 1);
    EXPECT_EQ(ManagerProbe::error(record(nlsERROR_LOCALE_SETUP)), 0);
    ManagerProbe::the_error_handler = nullptr;
    EXPECT_EQ(ManagerProbe::error(record(nlsERROR_CATALOG_OPEN)), 1);
    EXPECT_EQ(g_calls, 1);

    EXPECT_EQ(nlsDomainManager::set_verbose_info(5), 0);
    EXPECT_EQ(nlsDomainManager::verbose_info(), 5);
    EXPECT_EQ(nlsDomainManager::set_verbose_info(0), 5);
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

TEST(nlsDataBase, ErrorHandlerCanBeReplacedOrSilenced) {
    TestDataBase database("editor");
    nlsDataBase::handler_type fatal = [](const nlsDataBase& db, const nlsErrorData&) {
        g_seen_database = &db;
        ++g_calls;
        return 0;
    };
    nlsDataBase::handler_type original = nlsDataBase::error_handler(fatal);
    nlstest::AssertCapture asserts;
    EXPECT_EQ(database.error(record(nlsERROR_NONE)), 1);
    EXPECT_EQ(database.error(record(nlsERROR_CATALOG_LANGUAGE)), 0); // fatal when the handler says
    EXPECT_EQ(g_seen_database, &database);
    EXPECT_EQ(asserts.reports(),
              std::vector<std::string>{"nls/nlsDataBase:492: nlsDataBase failed - with error 5120 "
                                       "in nlsDataBase::error (0)"});

    EXPECT_EQ(nlsDataBase::error_handler(nullptr), fatal);
    CaptureStdout();
    EXPECT_EQ(database.error(record(nlsERROR_MEMORY)), 1);
    EXPECT_EQ(g_calls, 1);
    EXPECT_EQ(asserts.reports().size(), 1u);

    nlsDataBase::error_handler(original); // the first call gave the default back
    EXPECT_EQ(database.error(record(nlsERROR_MEMORY)), 0);
    EXPECT_EQ(GetCapturedStdout(), "NLS Error: memory error\n");
}

} // namespace
