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

struct Manager : nlsDomainManager {
    using nlsDomainManager::add;
    using nlsDomainManager::do_setlocale;
    using nlsDomainManager::error;
    using nlsDomainManager::fix_setlocale_argument;
    using nlsDomainManager::remove;
    using nlsDomainManager::s_application_settings;
    using nlsDomainManager::s_cpp_named_locale;
    using nlsDomainManager::s_cpp_num_locale;
    using nlsDomainManager::s_users_env;
    using nlsDomainManager::the_current_language;
    using nlsDomainManager::the_databases;
    using nlsDomainManager::the_env_language;
    using nlsDomainManager::the_env_type;
    using nlsDomainManager::the_error_handler;
    using nlsDomainManager::the_loaded_domains;
    using nlsDomainManager::the_numeric_translation_flag;
    using nlsDomainManager::the_regional_settings_flag;
    using nlsDomainManager::verbose_loading_info;
};

struct DataBase : nlsDataBase {
    using nlsDataBase::error;
    using nlsDataBase::m_loaded_domain;
    using nlsDataBase::nlsDataBase;
    using nlsDataBase::the_default_pathlist;
    using nlsDataBase::the_error_handler;
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
