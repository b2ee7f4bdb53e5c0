#include "nlsTestSupport.h"

#include <nls/containers/nlsDataBasecoDListPtrcoPtrcoDList.h>
#include <nls/nlsApplicationSettings.h>
#include <platform/internal/apCrtIo.h>
#include <platform/internal/apRegistryLock.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <locale>
#include <random>
#include <stdexcept>
#include <utility>

namespace nlstest {

TempDir::TempDir() {
    std::random_device random;
    while (m_path.empty()) {
        const auto candidate =
            std::filesystem::temp_directory_path() / ("nls-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) m_path = candidate.string();
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(m_path), ignored);
}

ScopedEnv::ScopedEnv(const char* name) : m_name(name) {
    const char* old = std::getenv(name);
    m_had = old != nullptr;
    if (old) m_old = old;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : ScopedEnv(name) {
    set_env(name, value);
}

ScopedEnv::~ScopedEnv() {
    set_env(m_name.c_str(), m_had ? m_old.c_str() : nullptr);
}

std::deque<ScopedEnv> scoped_env(const std::string& settings) {
    std::deque<ScopedEnv> scope;
    for (std::size_t at = 0, end; at < settings.size(); at = end + 1) {
        end = std::min(settings.find(' ', at), settings.size());
        const std::size_t equals = std::min(settings.find('=', at), end);
        const std::string name = settings.substr(at, equals - at);
        const std::string value = equals < end ? settings.substr(equals + 1, end - equals - 1) : "";
        scope.emplace_back(name.c_str(), equals < end ? value.c_str() : nullptr);
    }
    return scope;
}

void write_file(const std::string& path, const std::string& bytes) {
    for (std::size_t slash = path.find_first_of("/\\", 1); slash != std::string::npos;
         slash = path.find_first_of("/\\", slash + 1))
        make_directory(path.substr(0, slash));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::unique_ptr<Loaded> load(const std::string& bytes, const apCrtSeam* seam) {
    auto loaded = std::make_unique<Loaded>();
    write_file(loaded->dir / "test.mo", bytes);
    ap_set_crt_seam(seam);
    loaded->domain = std::make_unique<nlsLoadedDomain>(utString((loaded->dir / "test.mo").c_str()),
                                                       &loaded->code);
    ap_set_crt_seam(nullptr);
    return loaded;
}

AssertCapture::AssertCapture() : m_before(ut_assert_failure_count()) {
    ut_set_assert_handler([](const char*, int, const char*, const char*, const char*) {});
}

AssertCapture::~AssertCapture() {
    ut_set_assert_handler(nullptr);
}

int AssertCapture::count() const {
    return ut_assert_failure_count() - m_before;
}

namespace {

// The state that only the fixture and the helpers below touch.
struct State : nlsDomainManager {
    using nlsDomainManager::s_application_settings;
    using nlsDomainManager::s_cpp_named_locale;
    using nlsDomainManager::s_cpp_num_locale;
    using nlsDomainManager::s_users_env;
    using nlsDomainManager::the_current_language;
    using nlsDomainManager::the_databases;
    using nlsDomainManager::the_env_language;
    using nlsDomainManager::the_env_type;
    using nlsDomainManager::the_error_handler;
    using nlsDomainManager::the_numeric_translation_flag;
    using nlsDomainManager::the_regional_settings_flag;
    using nlsDomainManager::verbose_loading_info;
};

struct DataBaseState : nlsDataBase {
    using nlsDataBase::the_default_pathlist;
    using nlsDataBase::the_error_handler;
};

int count_databases() {
    return State::the_databases ? State::the_databases->count() : 0;
}

std::vector<std::string> g_reports;

int record(const nlsErrorData& data) {
    g_reports.push_back(nlsDomainManager::error_to_string(data));
    return 1;
}

} // namespace

struct StateSavingTest::Saved {
    std::deque<ScopedEnv> environment;
    std::vector<std::function<void()>> restore;
    template <class... T> void keep(T&... values) {
        (restore.push_back([&values, old = values] { values = old; }), ...);
    }
    // Taken out for the test, which starts without one, as a new process does.
    std::unique_ptr<nlsApplicationSettings> settings = std::move(State::s_application_settings);
    std::string c_locale = std::setlocale(LC_ALL, nullptr);
    std::locale cpp_locale;
    const apCrtSeam* seam = ap_set_crt_seam(nullptr);
    int lock_wait = ap_set_registry_lock_wait(0);
    int databases = count_databases();
};

StateSavingTest::StateSavingTest() : m_saved(std::make_unique<Saved>()) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE", "NLSPATH",
                             "NLS_USER_LOCALE", "NLS_REGISTRY", "HOME", "XDG_CONFIG_HOME"})
        m_saved->environment.emplace_back(name);
    m_saved->keep(State::the_current_language, State::the_env_language, State::the_env_type,
                  State::s_users_env, DataBaseState::the_default_pathlist,
                  State::the_regional_settings_flag, State::the_numeric_translation_flag,
                  State::s_cpp_named_locale, State::s_cpp_num_locale, State::verbose_loading_info,
                  State::the_error_handler, DataBaseState::the_error_handler);
    ap_set_crt_seam(m_saved->seam);
    ap_set_registry_lock_wait(m_saved->lock_wait);
}

StateSavingTest::~StateSavingTest() {
    EXPECT_EQ(count_databases(), m_saved->databases) << "a database outlived its test";
    for (const auto& restore : m_saved->restore)
        restore();
    nlsDomainManager::set_application_settings(std::move(m_saved->settings));
    std::setlocale(LC_ALL, m_saved->c_locale.c_str());
    std::locale::global(m_saved->cpp_locale);
    ap_set_crt_seam(m_saved->seam);
    ap_set_registry_lock_wait(m_saved->lock_wait);
}

void forget_languages() {
    State::the_current_language = utString();
    State::the_env_language = utString();
    State::the_env_type = nlsLANG_NONE;
    State::s_users_env = utString(utStringLit{}, "");
}

void set_default_directory(const char* directory) {
    DataBaseState::the_default_pathlist = utString(directory);
}

void set_regional_settings_flag(int flag) {
    State::the_regional_settings_flag = flag;
}

std::string SettingsProbe::read(unsigned int code) const {
    utString stored("not read");
    EXPECT_EQ(read_stored_language(stored), code);
    return stored.c_str();
}

Reports::Reports() {
    g_reports.clear();
    nlsDataBase::error_handler([](const nlsDataBase&, const nlsErrorData& data) -> int {
        return record(data) && (data.code() & 1u) == 0;
    });
    nlsDomainManager::error_handler(record);
}

std::vector<std::string> Reports::take() {
    return std::exchange(g_reports, {});
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

void PrintTo(const utString& text, std::ostream* out) {
    *out << (text.c_str() ? '"' + std::string(text.c_str()) + '"' : "(null)");
}
