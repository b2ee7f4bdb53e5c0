#include "nlsManagerTestSupport.h"

#include <nls/nlsApplicationSettings.h>
#include <nls/nlsErrorData.h>
#include <platform/apCrtIo.h>

#include <clocale>
#include <deque>
#include <locale>

namespace nlstest {

namespace {

int count_databases() {
    return Manager::the_databases ? Manager::the_databases->count() : 0;
}

} // namespace

struct StateSavingTest::Saved {
    std::deque<ScopedEnv> environment;
    utString current_language = Manager::the_current_language;
    utString env_language = Manager::the_env_language;
    utString env_priority = Manager::the_env_priority;
    nlsLang env_type = Manager::the_env_type;
    utString users_env = Manager::s_users_env;
    utString default_pathlist = DataBase::the_default_pathlist;
    int regional_flag = Manager::the_regional_settings_flag;
    int numeric_flag = Manager::the_numeric_translation_flag;
    int verbose = nlsDomainManager::verbose_info();
    // The setters are the only way to read the handlers: the constructor puts them back.
    nlsDataBase::handler_type database_handler = nlsDataBase::error_handler(nullptr);
    nlsDomainManager::handler_type manager_handler = nlsDomainManager::error_handler(nullptr);
    // Taken out for the test, which starts without one, as a new process does.
    std::unique_ptr<nlsApplicationSettings> settings = std::move(Manager::s_application_settings);
    std::string c_locale = std::setlocale(LC_ALL, nullptr);
    std::locale cpp_locale, cpp_named = Manager::s_cpp_named_locale,
                            cpp_num = Manager::s_cpp_num_locale;
    const apCrtSeam* seam = ap_set_crt_seam(nullptr);
    int databases = count_databases();
};

StateSavingTest::StateSavingTest() : m_saved(std::make_unique<Saved>()) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE", "NLSPATH",
                             "NLS_USER_LOCALE", "NLS_REGISTRY", "HOME", "XDG_CONFIG_HOME"})
        m_saved->environment.emplace_back(name);
    nlsDataBase::error_handler(m_saved->database_handler);
    nlsDomainManager::error_handler(m_saved->manager_handler);
    ap_set_crt_seam(m_saved->seam);
}

void StateSavingTest::TearDown() {
    EXPECT_EQ(count_databases(), m_saved->databases) << "a database outlived its test";
}

StateSavingTest::~StateSavingTest() {
    Saved& s = *m_saved;
    Manager::the_current_language = s.current_language;
    Manager::the_env_language = s.env_language;
    Manager::the_env_priority = s.env_priority;
    Manager::the_env_type = s.env_type;
    Manager::s_users_env = s.users_env;
    DataBase::the_default_pathlist = s.default_pathlist;
    Manager::the_regional_settings_flag = s.regional_flag;
    Manager::the_numeric_translation_flag = s.numeric_flag;
    nlsDomainManager::set_verbose_info(s.verbose);
    nlsDataBase::error_handler(s.database_handler);
    nlsDomainManager::error_handler(s.manager_handler);
    nlsDomainManager::set_application_settings(std::move(s.settings));
    std::setlocale(LC_ALL, s.c_locale.c_str());
    std::locale::global(s.cpp_locale);
    Manager::s_cpp_named_locale = s.cpp_named;
    Manager::s_cpp_num_locale = s.cpp_num;
    ap_set_crt_seam(s.seam);
}

namespace {

std::vector<std::string> g_reports;

int record(const nlsErrorData& data) {
    g_reports.push_back(nlsDomainManager::error_to_string(data));
    return 1;
}

} // namespace

Reports::Reports() {
    g_reports.clear();
    nlsDataBase::error_handler([](const nlsDataBase&, const nlsErrorData& data) -> int {
        return record(data) && (data.code() & 1u) == 0;
    });
    nlsDomainManager::error_handler(record);
}

Reports::~Reports() {
    nlsDataBase::error_handler(nullptr);
    nlsDomainManager::error_handler(nullptr);
}

std::vector<std::string> Reports::take() {
    std::vector<std::string> taken;
    taken.swap(g_reports);
    return taken;
}

std::string ManagerTest::catalogue(const std::string& root, const std::string& language,
                                   const std::string& domain,
                                   const std::vector<std::string>& messages) {
    std::vector<MoEntry> entries;
    for (const std::string& m : messages)
        entries.push_back({m, language + ":" + m});
    std::string path = root + "/" + language + "/LC_MESSAGES/" + domain + ".mo";
    write_file(path, build_mo(entries));
    return path;
}

} // namespace nlstest
