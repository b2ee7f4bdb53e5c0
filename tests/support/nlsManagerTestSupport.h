#pragma once

// What the domain-manager and database tests share: reach into the protected parts, a fixture
// that leaves the process as it found it, reports recorded through the handlers, and catalogue
// trees written into a temporary folder.

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
    using nlsDomainManager::access_domain;
    using nlsDomainManager::add;
    using nlsDomainManager::do_setlocale;
    using nlsDomainManager::error;
    using nlsDomainManager::fix_setlocale_argument;
    using nlsDomainManager::load_domain;
    using nlsDomainManager::remove;
    using nlsDomainManager::s_application_settings;
    using nlsDomainManager::s_cpp_named_locale;
    using nlsDomainManager::s_cpp_num_locale;
    using nlsDomainManager::s_users_env;
    using nlsDomainManager::the_current_language;
    using nlsDomainManager::the_databases;
    using nlsDomainManager::the_env_language;
    using nlsDomainManager::the_env_priority;
    using nlsDomainManager::the_env_type;
    using nlsDomainManager::the_loaded_domains;
    using nlsDomainManager::the_numeric_translation_flag;
    using nlsDomainManager::the_regional_settings_flag;
    using nlsDomainManager::unload_domain;
};

struct DataBase : nlsDataBase {
    using nlsDataBase::m_initialised;
    using nlsDataBase::m_loaded_domain;
    using nlsDataBase::nlsDataBase;
    using nlsDataBase::the_default_pathlist;
};

/// Saves the library's process-wide state (languages, handlers, flags, settings, locales, the
/// variables the tests set) and puts it back, so that the tests also pass in one process. Every
/// database the test made must be gone by its end.
class StateSavingTest : public testing::Test {
protected:
    StateSavingTest();
    ~StateSavingTest() override;
    void TearDown() override;

private:
    struct Saved;
    std::unique_ptr<Saved> m_saved;
};

/// Records the text of every report that the database's and the manager's handlers get while it
/// lives, answering as the default handlers do (so fatal codes still end in an assertion report).
class Reports : NoCopy {
public:
    Reports();
    ~Reports();
    /// The reports since the last call, each a line without its newline.
    std::vector<std::string> take();
};

/// Every test starts from the same environment: a British user, no language variables, no
/// NLSPATH, a registry of its own, its reports recorded, and a temporary folder.
class ManagerTest : public StateSavingTest {
protected:
    TempDir dir;
    ScopedUser british{"en-GB"};
    ScopedEnv lc_all_env{"LC_ALL", nullptr};
    ScopedEnv lc_messages_env{"LC_MESSAGES", nullptr};
    ScopedEnv lang_env{"LANG", nullptr};
    ScopedEnv language_env{"LANGUAGE", nullptr};
    ScopedEnv nlspath_env{"NLSPATH", nullptr};
    ScopedRegistry registry;
    Reports reports;

    /// Writes <root>/<language>/LC_MESSAGES/<domain>.mo, each message as "<language>:<message>".
    std::string catalogue(const std::string& root, const std::string& language,
                          const std::string& domain, const std::vector<std::string>& messages);
};

} // namespace nlstest
