#include <nls/nlsDataBase.h>

#include <nls/internal/nlsChangeGuard.h>
#include <nls/nlsDomainManager.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLoadedDomain.h>
#include <nls/internal/nlsLocaleInfo.h>
#include <platform/internal/apAtomic.h>
#include <platform/apFileFinder.h>
#include <platform/apUtils.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

nlsDataBase::handler_type nlsDataBase::the_error_handler = &nlsDataBase::the_default_error_handler;
utString nlsDataBase::the_default_pathlist;
utString nlsDataBase::the_binary_suffix(utStringLit{}, ".mo");

namespace {
// Assertion reports name a fixed line rather than __LINE__: filters that applications keep for
// these reports match on it, whatever this file's layout.
constexpr int kErrorAssertLine = 492;

// How many entries of the user's LANGUAGE list are tried.
constexpr int kMaxPriorityEntries = 64;

// What domain() gives for a database without a catalogue: "" rather than a null text, so that
// textdomain can tell a selected database without one from an unknown name.
const utString kNoDomain(utStringLit{}, "");

const char* env_language_or_c() {
    const char* env = nlsDomainManager::env_language(nlsLANG_DATABASE);
    return env ? env : "C";
}

// Whether a language or domain name stays one entry inside its directory: no path separator, not
// "." or "..", and no control character. Any other name could lead the catalogue path out of
// the application's directories.
bool names_one_entry(const utString& name) {
    const char* text = name.c_str();
    if (std::strcmp(text, ".") == 0 || std::strcmp(text, "..") == 0) return false;
    for (const char* c = text; *c; ++c) {
        unsigned char byte = static_cast<unsigned char>(*c);
        if (byte < 0x20 || byte == 0x7F || apFileFinder::is_separator(*c)) return false;
    }
    return true;
}
} // namespace

nlsDataBase::nlsDataBase(const char* domain) : nlsDataBase(nullptr, domain) {}

nlsDataBase::nlsDataBase(const char* pathlist, const char* domain)
    : m_domain(domain), m_initialised(0), m_language(), m_loaded_domain(nullptr),
      m_pathlist(pathlist), m_lookup_domain(nullptr), m_shared_for() {
    nlsChangeGuard guard;
    nlsErrorData record = nlsDomainManager::add(this);
    if (record.code() != nlsERROR_NONE) {
        error(record);
        return;
    }
    if (!m_initialised) initialise(locale_path());
}

nlsDataBase::~nlsDataBase() {
    nlsChangeGuard guard;
    unsigned int code = nlsDomainManager::remove(this);
    if (code != nlsERROR_NONE) error(nlsErrorData(code));
    if (m_loaded_domain) nlsDomainManager::unload_domain(m_loaded_domain);
}

const utString& nlsDataBase::domain() const {
    const nlsLoadedDomain* loaded = catalogue();
    return loaded ? loaded->path : kNoDomain;
}

const nlsLoadedDomain* nlsDataBase::catalogue() const {
    // Without the lock: what the end of the last change published, so that a switch in another
    // thread is seen whole; the catalogue it gave back is retired, not freed.
    return ap_load_acquire(m_lookup_domain);
}

const char* nlsDataBase::gettext(const char* message) const {
    const nlsLoadedDomain* loaded = catalogue();
    return loaded ? loaded->translate(message) : message;
}

const char* nlsDataBase::ngettext(const char* singular, const char* plural, unsigned long n) const {
    const nlsLoadedDomain* loaded = catalogue();
    return loaded ? loaded->ngettext(singular, plural, n) : n == 1 ? singular : plural;
}

const char* nlsDataBase::pgettext(const char* context, const char* message) const {
    const nlsLoadedDomain* loaded = catalogue();
    return loaded ? loaded->pgettext(context, message) : message;
}

const char* nlsDataBase::npgettext(const char* context, const char* singular, const char* plural,
                                   unsigned long n) const {
    const nlsLoadedDomain* loaded = catalogue();
    return loaded ? loaded->npgettext(context, singular, plural, n) : n == 1 ? singular : plural;
}

const char* nlsDataBase::language() const {
    nlsChangeGuard guard;
    // A copy of this thread's own, which another thread's switch cannot free.
    thread_local utString copy;
    copy = utString(m_language.empty() ? env_language_or_c() : m_language.name().c_str());
    return copy.c_str();
}

const utString& nlsDataBase::pathlist() const {
    return m_pathlist.empty() ? the_default_pathlist : m_pathlist;
}

const utString& nlsDataBase::locale_path() const {
    return pathlist();
}

utString nlsDataBase::catalogue_path(const utString& directory, const utString& language,
                                     const utString& domain) {
    utString path = directory;
    return path << "/" << language << "/LC_MESSAGES/" << domain << the_binary_suffix;
}

utString nlsDataBase::search(const utString& language, const utString* directories,
                             int count) const {
    if (!names_one_entry(language) || !names_one_entry(m_domain)) return utString();
    for (int i = 0; i < count; ++i) {
        utString path = catalogue_path(directories[i], language, m_domain);
        if (apFileFinder::check_path_exists(path) == apFILE_EXISTS) return path;
    }
    return utString();
}

utString nlsDataBase::find_catalogue(nlsLanguage& language, const utString* directories,
                                     int count) const {
    const nlsLanguage asked = language;
    std::vector<nlsLanguage> tried{asked};
    utString path = search(asked.name(), directories, count);
    if (path.empty() && asked.has_extension()) {
        language = asked.short_form();
        tried.push_back(language);
        path = search(language.name(), directories, count);
    }
    // Trees laid out as /usr/share/locale come after the library's own names, which thus find
    // what they always found.
    std::vector<utString> folders; // German-AUT and German share de
    for (std::size_t i = 0; i < tried.size() && path.empty(); ++i) {
        for (const utString& folder : nls_posix_folders(tried[i])) {
            if (std::find(folders.begin(), folders.end(), folder) != folders.end()) continue;
            folders.push_back(folder);
            path = search(folder, directories, count);
            if (!path.empty()) {
                language = tried[i];
                break;
            }
        }
    }
    if (!path.empty() && language != asked && nlsDomainManager::verbose_info()) {
        utString strings[] = {m_domain, asked.name(), language.name()};
        error(nlsErrorData(nlsERROR_CATALOG_FALLBACK, strings, 3));
    }
    return path;
}

utString nlsDataBase::search_priority_list(const utString* directories, int count) {
    const utString list = nlsDomainManager::env_priority();
    // Each entry costs a search; a list longer than any user writes is cut, so that a hostile
    // value costs little.
    int entries = 0;
    for (const char* entry = list.c_str(); *entry && entries < kMaxPriorityEntries;) {
        const char* end = std::strchr(entry, ':');
        if (!end) end = entry + std::strlen(entry);
        utString name(utStringArray{}, entry, static_cast<int>(end - entry));
        entry = *end ? end + 1 : end;
        if (name.empty()) continue;
        ++entries;
        nlsLanguage language(nls_language_of(name).c_str());
        if (language.name() == utString(utStringLit{}, "C")) {
            m_language = language;
            return utString();
        }
        utString path = find_catalogue(language, directories, count);
        if (!path.empty()) {
            m_language = language;
            return path;
        }
    }
    return utString();
}

void nlsDataBase::initialise(const utString& pathlist) {
    utString directories[2];
    int count = 0;
    if (!pathlist.empty()) directories[count++] = pathlist;
    const char* nlspath = std::getenv("NLSPATH");
    if (!nlspath && pathlist.empty()) return;
    if (nlspath && *nlspath) directories[count++] = utString(nlspath);

    utString path;
    if (m_language.empty()) path = search_priority_list(directories, count);
    if (path.empty()) {
        if (m_language.empty()) m_language = nlsLanguage(env_language_or_c());
        path = find_catalogue(m_language, directories, count);
    }
    if (!path.empty()) {
        m_loaded_domain = nlsDomainManager::access_domain(path);
        if (m_loaded_domain) {
            // Shared with another database: report the environment's language from now on, but
            // switch as if the file had been loaded here, by the language it was found for.
            m_shared_for = m_language;
            m_language = nlsLanguage();
        } else {
            unsigned int code = nlsERROR_NONE;
            m_loaded_domain = nlsDomainManager::load_domain(path, &code);
            error(nlsErrorData(code));
        }
    }
    if (!m_loaded_domain) {
        utString name = m_language.empty() ? utString(env_language_or_c()) : m_language.name();
        if (name != utString(utStringLit{}, "C")) {
            utString strings[] = {m_domain, name};
            error(nlsErrorData(nlsERROR_CATALOG_LANGUAGE, strings, 2));
        }
    }
    m_initialised = 1;
}

int nlsDataBase::language(const utString& name) {
    nlsChangeGuard guard;
    nlsLanguage wanted(name.c_str());
    if (wanted == (m_shared_for.empty() ? nlsLanguage(language()) : m_shared_for)) return 1;
    if (m_loaded_domain) nlsDomainManager::unload_domain(m_loaded_domain);
    m_loaded_domain = nullptr;
    m_shared_for = nlsLanguage();
    m_initialised = 0;
    m_language = wanted;
    initialise(locale_path());
    if (m_loaded_domain) return 1;
    if (m_language == nlsLanguage("C")) return 1;

    const char* env = nlsDomainManager::env_language(nlsLANG_DATABASE);
    m_language = env ? nlsLanguage(env) : nlsLanguage();
    m_initialised = 0;
    initialise(locale_path());
    if (!m_loaded_domain) m_language = nlsLanguage("C");
    return 0;
}

char* nlsDataBase::catalog_sub_path(const char* head, const char* tail, int category) const {
    return apconcat(5, head, "/", category_to_name(category), "/", tail);
}

const char* nlsDataBase::category_to_name(int category) {
    static const char* const names[] = {"LC_ALL",      "LC_COLLATE",  "LC_CTYPE",
                                        "LC_MONETARY", "LC_MESSAGES", "LC_TIME"};
    return category >= 0 && category < 6 ? names[category] : "LC_XXX";
}

nlsDataBase::handler_type nlsDataBase::error_handler(handler_type handler) {
    nlsChangeGuard guard;
    handler_type previous = the_error_handler;
    the_error_handler = handler;
    return previous;
}

int nlsDataBase::error(const nlsErrorData& data) const {
    if (!the_error_handler || data.code() == nlsERROR_NONE) return 1;
    if (the_error_handler(*this, data)) return 1;
    char message[64];
    // The report's format takes the code as a signed number.
    std::snprintf(message, sizeof message, "nlsDataBase failed - with error %d",
                  static_cast<int>(data.code()));
    ut_report_assert_failure("nls/nlsDataBase", kErrorAssertLine, message, "nlsDataBase::error",
                             "0");
    return 0;
}

int nlsDataBase::the_default_error_handler(const nlsDataBase&, const nlsErrorData& data) {
    apprintf("%s\n", nlsDomainManager::error_to_string(data));
    return (data.code() & 1u) == 0;
}

void nlsDataBase::list_available_languages(coiFiller<nlsLanguage> filler) const {
    nlsChangeGuard guard;
    // Copies, so that a sink that destroys this database does not pull them away mid-walk.
    const utString directory = pathlist();
    const utString domain = m_domain;
    // Without a directory of its own the database has nothing to list; an empty path would
    // otherwise stand for the root or the working directory.
    if (directory.empty() || !names_one_entry(domain)) return;
    auto has_catalogue = [&](const utString& folder) {
        return apFileFinder::check_path_exists(catalogue_path(directory, folder, domain)) ==
               apFILE_EXISTS;
    };
    // Folders named the POSIX way (de, de_DE) give their language after the others, once: a tree
    // may hold both de and de_DE.
    std::vector<nlsLanguage> listed, posix;
    apPath root(directory);
    apFileFinderEx finder(root);
    while (++finder) {
        apPath entry = root.adjoin_ap(finder());
        if (!entry.is_directory()) continue;
        // The directory may carry the ISO name or any letter case; the catalogue is looked for
        // under the table's name all the same.
        utString folder = entry.basename();
        nlsLanguage language(folder.c_str());
        if (!language.iso_name().empty()) {
            if (has_catalogue(language.name())) {
                listed.push_back(language);
                filler.add(language);
            }
            continue;
        }
        // Only the folders that the catalogue search tries for the language (not de_DE.UTF-8).
        language = nlsLanguage(nls_language_of(folder).c_str());
        if (language.iso_name().empty() || !has_catalogue(folder)) continue;
        std::vector<utString> searched = nls_posix_folders(language);
        if (std::find(searched.begin(), searched.end(), folder) != searched.end())
            posix.push_back(language);
    }
    for (const nlsLanguage& language : posix) {
        if (std::find(listed.begin(), listed.end(), language) != listed.end()) continue;
        listed.push_back(language);
        filler.add(language);
    }
}
