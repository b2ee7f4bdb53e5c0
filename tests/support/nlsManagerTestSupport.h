#pragma once

// Shared by the manager and database tests: protected parts, state saving, reports, catalogues.

#include <nls/containers/nlsDataBasecoDListPtrcoPtrcoDList.h>
#include <nls/nlsDataBase.h>
#include <nls/nlsDomainManager.h>
#include <nls/nlsLoadedDomain.h>

#include "moWriter.h"
#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace nlstest {

/// The protected calls the tests make; the process-wide state is the fixture's and the helpers'
/// below.
struct Manager : nlsDomainManager {
    using nlsDomainManager::add;
    using nlsDomainManager::error;
    using nlsDomainManager::remove;
};

struct DataBase : nlsDataBase {
    using nlsDataBase::error;
    using nlsDataBase::m_loaded_domain;
    using nlsDataBase::nlsDataBase;
};

/// Puts process-wide state back (the tests pass in one process too); no database may outlive it.
class StateSavingTest : public testing::Test {
protected:
    StateSavingTest();
    ~StateSavingTest() override;

private:
    struct Saved;
    std::unique_ptr<Saved> m_saved;
};

/// The manager forgets the language chosen and the environment's cached one, as in a new process.
void forget_languages();

/// What a derived class may set, put back by a StateSavingTest: the directory that databases
/// made without one search (null: none), and whether the environment's language skips LC_ALL,
/// LC_MESSAGES and LANG for the regional settings.
///@{
void set_default_directory(const char* directory);
void set_regional_settings_flag(int flag);
///@}

/// Records the reports the handlers get from now on, answering as the default handlers do; a
/// StateSavingTest puts the handlers back.
class Reports : NoCopy {
public:
    Reports();
    /// The reports since the last call, each a line without its newline.
    std::vector<std::string> take();
};

/// A British user, no language variables nor NLSPATH, a registry of its own, reports recorded.
class ManagerTest : public StateSavingTest {
protected:
    TempDir dir;
    ScopedUser british{"en-GB"};
    ScopedEnv cleared[5] = {{"LC_ALL", nullptr},
                            {"LC_MESSAGES", nullptr},
                            {"LANG", nullptr},
                            {"LANGUAGE", nullptr},
                            {"NLSPATH", nullptr}};
    ScopedRegistry registry;
    Reports reports;

    /// Writes <root>/<language>/LC_MESSAGES/<domain>.mo, each message as "<language>:<message>".
    std::string catalogue(const std::string& root, const std::string& language,
                          const std::string& domain, const std::vector<std::string>& messages);
};

} // namespace nlstest
