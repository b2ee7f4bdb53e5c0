#pragma once

// What the domain-manager and database tests share: reach into the protected parts, a clean
// environment, and catalogue trees written into a temporary folder.

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
    using nlsDomainManager::fix_setlocale_argument;
    using nlsDomainManager::load_domain;
    using nlsDomainManager::remove;
    using nlsDomainManager::s_users_env;
    using nlsDomainManager::the_current_language;
    using nlsDomainManager::the_databases;
    using nlsDomainManager::the_env_language;
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

/// Every test starts from the same environment: a British user, no language variables, no
/// NLSPATH, a registry of its own, and a temporary folder for catalogue trees.
class ManagerTest : public testing::Test {
protected:
    TempDir dir;
    ScopedUser british{"en-GB"};
    ScopedEnv lc_all_env{"LC_ALL", nullptr};
    ScopedEnv lc_messages_env{"LC_MESSAGES", nullptr};
    ScopedEnv lang_env{"LANG", nullptr};
    ScopedEnv language_env{"LANGUAGE", nullptr};
    ScopedEnv nlspath_env{"NLSPATH", nullptr};
    ScopedRegistry registry;

    /// Writes <root>/<language>/LC_MESSAGES/<domain>.mo, each message as "<language>:<message>".
    std::string catalogue(const std::string& root, const std::string& language,
                          const std::string& domain, const std::vector<std::string>& messages) {
        std::vector<MoEntry> entries;
        for (const std::string& m : messages)
            entries.push_back({m, language + ":" + m});
        std::string path = root + "/" + language + "/LC_MESSAGES/" + domain + ".mo";
        write_file(path, build_mo(entries));
        return path;
    }
};

} // namespace nlstest
