#include <nls/nlsDomainManager.h>

#include <nls/containers/nlsDataBasecoDListPtrcoPtrcoDList.h>
#include <nls/fillers/coiFillers.h>
#include <nls/nlsApplicationSettings.h>
#include <nls/nlsDataBase.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <nls/nlsLoadedDomain.h>
#include <nls/nlsNumPunct.h>
#include <nls/nlsUtils.h>
#include <platform/apCrtLocale.h>
#include <platform/apUtils.h>
#include <platform/apWinLocale.h>
#include <platform/intcoDList.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <exception>
#include <vector>

namespace {

// The user's default locale as the library's locale functions see it; the classic locale when
// the platform cannot build it.
std::locale user_default_locale() {
    try {
        return ap_make_locale(std::locale::classic(), "", nullptr, std::locale::all);
    } catch (const std::exception&) {
        return std::locale::classic();
    }
}

// Locale data of `lcid` as text; empty when the query fails.
utString locale_info(LCID lcid, LCTYPE type, int size) {
    char buffer[500];
    if (size > static_cast<int>(sizeof buffer)) size = sizeof buffer;
    if (GetLocaleInfoU(lcid, type, buffer, size) <= 0) buffer[0] = '\0';
    return utString(buffer);
}

// A language's English name up to its first blank: "Chinese (Simplified)" gives "Chinese".
utString first_word(const utString& name) {
    const char* blank = std::strchr(name.c_str(), ' ');
    return blank ? utString(name, 0, static_cast<int>(blank - name.c_str())) : name;
}

// The identifiers of the supported locales, refilled by each get_iso_locale.
intcoDList s_locale_ids;

BOOL add_locale_id(LPWSTR hex) {
    s_locale_ids.insert_last(static_cast<int>(std::wcstoul(hex, nullptr, 16)));
    return TRUE;
}

std::locale::category cpp_category(int category) {
    switch (category) {
    case LC_COLLATE:
        return std::locale::collate;
    case LC_CTYPE:
        return std::locale::ctype;
    case LC_MONETARY:
        return std::locale::monetary;
    case LC_NUMERIC:
        return std::locale::numeric;
    case LC_TIME:
        return std::locale::time;
    default:
        return std::locale::all;
    }
}

} // namespace

nlsDomainManager::handler_type nlsDomainManager::the_error_handler =
    &nlsDomainManager::the_default_error_handler;
int nlsDomainManager::verbose_loading_info = 0;

nlsDataBasecoDListPtrcoPtrcoDList* nlsDomainManager::the_databases = nullptr;
nlsDataBase* nlsDomainManager::the_current_domain = nullptr;
nlsLoadedDomain* nlsDomainManager::the_loaded_domains = nullptr;

utString nlsDomainManager::the_current_language;
utString nlsDomainManager::the_env_language;
nlsLang nlsDomainManager::the_env_type = nlsLANG_NONE;
int nlsDomainManager::the_regional_settings_flag = 0;
utString nlsDomainManager::s_users_env(utStringLit{}, "");
std::unique_ptr<nlsApplicationSettings> nlsDomainManager::s_application_settings;
utString nlsDomainManager::s_no_translation_language(utStringLit{}, "NO_TRANSLATION");
utString nlsDomainManager::s_no_translation_current_language(utStringLit{}, "English");
utString nlsDomainManager::s_no_translation_env_language(utStringLit{}, "English-GBR");

int nlsDomainManager::the_numeric_translation_flag = 0;
std::locale nlsDomainManager::s_cpp_named_locale = user_default_locale();
std::locale nlsDomainManager::s_cpp_num_locale = user_default_locale();

const char* nlsDomainManager::error_to_string(const nlsErrorData& data) {
    static utString message;
    message = utString(utStringLit{}, "NLS Error: ");
    switch (data.code()) {
    case nlsERROR_NONE:
        return "nlsERROR_NONE";
    case nlsERROR_INITIALISATION:
        message << "Initialisation failed";
        break;
    case nlsERROR_CATALOG_STAT:
        message << "Could not stat the catalog";
        break;
    case nlsERROR_CATALOG_OPEN:
        message << "Could not open the catalog";
        break;
    case nlsERROR_CATALOG_MAGIC:
        message << "Catalog Magic number failed";
        break;
    case nlsERROR_CATALOG_REVISION:
        message << "Catalog revision number is incompatible";
        break;
    case nlsERROR_NO_DOMAIN:
        message << "Domain does not exist";
        break;
    case nlsERROR_MEMORY:
        message << "memory error";
        break;
    case nlsERROR_LOCALE_SETUP:
        message = utString(utStringLit{}, "NLS Warning: ");
        message << "Setting up locale for language <" << data.get_string(0) << "> failed";
        break;
    case nlsERROR_CATALOG_LANGUAGE:
        message = utString(utStringLit{}, "NLS Warning: ");
        message << "Catalog <" << data.get_string(0) << "> failed to load for language <"
                << data.get_string(1) << ">";
        break;
    // Worded as errors although their codes carry no error bit.
    case nlsERROR_DOMAIN_PATH:
        message << "Path to domain failed";
        break;
    case nlsERROR_DOMAIN_EXISTS:
        message << "Domain (nls database) already exists for catalog <" << data.get_string(0)
                << "> and language <" << data.get_string(1) << ">";
        break;
    case nlsERROR_CATALOG_FALLBACK:
        message = utString(utStringLit{}, "NLS Warning: ");
        message << "Catalog <" << data.get_string(0) << "> failed to load for language <"
                << data.get_string(1) << "> so fallback language <" << data.get_string(2)
                << "> was used";
        break;
    default: // nlsERROR_FAILED has no text of its own either
        message << "Internal error";
        break;
    }
    return message.c_str();
}

int nlsDomainManager::set_verbose_info(int value) {
    int previous = verbose_loading_info;
    verbose_loading_info = value;
    return previous;
}

int nlsDomainManager::verbose_info() {
    return verbose_loading_info;
}

int nlsDomainManager::error(const nlsErrorData& data) {
    if (!the_error_handler || data.code() == nlsERROR_NONE) return 1;
    return the_error_handler(data);
}

int nlsDomainManager::the_default_error_handler(const nlsErrorData& data) {
    apprintf("%s\n", error_to_string(data));
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Registry of databases and catalogues

const nlsErrorData& nlsDomainManager::add(nlsDataBase* database) {
    static nlsErrorData record(nlsERROR_NONE);
    record = nlsErrorData(nlsERROR_NONE);
    if (!the_databases) the_databases = new nlsDataBasecoDListPtrcoPtrcoDList;
    if (the_databases->count() == 0) {
        // The first registration (or the first after every database went) sets the locale up.
        setlocale(LC_ALL);
    } else {
        for (the_databases->reset(); ++*the_databases;) {
            if (the_databases->value() == database) {
                record = nlsErrorData(nlsERROR_DOMAIN_EXISTS, database->m_domain);
                record.add_string(utString(database->language()));
                break;
            }
        }
    }
    if (record.code() == nlsERROR_NONE) the_databases->insert_last(database);
    if (!the_current_language.empty()) database->language(the_current_language);
    return record;
}

unsigned int nlsDomainManager::remove(nlsDataBase* database) {
    if (!the_databases) return nlsERROR_NO_DOMAIN;
    for (the_databases->reset(); ++*the_databases;) {
        if (the_databases->value() == database) {
            the_databases->remove();
            // Forget the selection too, so that gettext never reaches a destroyed database.
            if (the_current_domain == database) the_current_domain = nullptr;
            return nlsERROR_NONE;
        }
    }
    if (the_databases->count() == 0) {
        delete the_databases;
        the_databases = nullptr;
    }
    return nlsERROR_NO_DOMAIN;
}

namespace {
// Catalogue paths order the loaded list byte by byte, as unsigned values.
int compare_paths(const utString& a, const utString& b) {
    return std::strcmp(a.c_str(), b.c_str());
}
} // namespace

nlsLoadedDomain* nlsDomainManager::access_domain(const utString& path) {
    for (nlsLoadedDomain* entry = the_loaded_domains; entry; entry = entry->next) {
        int order = compare_paths(entry->path, path);
        if (order == 0) {
            ++entry->references;
            return entry;
        }
        if (order > 0) break;
    }
    return nullptr;
}

nlsLoadedDomain* nlsDomainManager::load_domain(const utString& path, unsigned int* error) {
    nlsLoadedDomain* entry = new nlsLoadedDomain(path, error);
    if (entry->failed) {
        delete entry;
        return nullptr;
    }
    if (!the_loaded_domains || compare_paths(entry->path, the_loaded_domains->path) < 0) {
        entry->next = the_loaded_domains;
        the_loaded_domains = entry;
    } else {
        nlsLoadedDomain* before = the_loaded_domains;
        while (before->next && compare_paths(before->next->path, entry->path) < 0)
            before = before->next;
        entry->next = before->next;
        before->next = entry;
    }
    entry->references = 1;
    return entry;
}

void nlsDomainManager::unload_domain(nlsLoadedDomain* domain) {
    for (nlsLoadedDomain** link = &the_loaded_domains; *link; link = &(*link)->next) {
        if (*link != domain) continue;
        if (--domain->references == 0) {
            *link = domain->next;
            delete domain;
        }
        return;
    }
}

const char* nlsDomainManager::textdomain(const char* domain) {
    if (!domain || !*domain)
        return the_current_domain ? the_current_domain->domain().c_str() : nullptr;
    if (!the_databases || the_databases->count() == 0) return nullptr;
    utString wanted(utStringLit{}, domain);
    for (the_databases->reset(); ++*the_databases;) {
        nlsDataBase* database = the_databases->value();
        if (database->m_domain == wanted) {
            the_current_domain = database;
            return database->domain().c_str();
        }
    }
    return nullptr;
}

const char* nlsDomainManager::gettext(const char* message) {
    // A null message is passed back as it is rather than looked up.
    if (!message || !the_current_domain || !the_current_domain->m_loaded_domain) return message;
    return the_current_domain->m_loaded_domain->translate(message);
}

const utString& nlsDomainManager::language() {
    if (the_current_language == s_no_translation_language) return s_no_translation_current_language;
    return the_current_language;
}

const utString& nlsDomainManager::no_translation_language() {
    return s_no_translation_language;
}

// ---------------------------------------------------------------------------------------------
// Language and locale selection

const char* nlsDomainManager::env_language(nlsLang purpose) {
    if (purpose != the_env_type && purpose != nlsLANG_DATABASE) the_env_language = utString();
    if (the_current_language == s_no_translation_language)
        the_env_language = s_no_translation_env_language;
    if (the_env_language.empty()) {
        const char* value = nullptr;
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            value = std::getenv(variable);
            if (value && *value) break;
            value = nullptr;
        }
        utString from_environment(value ? value : "");
        if (from_environment == utString(utStringLit{}, "check"))
            the_env_language = from_environment;
        if (the_env_language.empty() && s_application_settings) {
            nlsLanguage display;
            if (s_application_settings->get_display_language(display).code() == nlsERROR_NONE &&
                !display.empty() && display.is_codepage_compatible()) {
                the_env_language = display.name();
                s_users_env = display.name();
            }
        }
        if (the_regional_settings_flag == 0 && the_env_language.empty())
            the_env_language = from_environment;
        if (the_env_language.empty()) {
            get_regional_language(&the_env_language, purpose);
            s_users_env = the_env_language;
        }
    }
    the_env_type = purpose;
    return the_env_language.text();
}

char* nlsDomainManager::get_language(char* buffer) {
    utString name = first_word(locale_info(GetUserDefaultLCID(), LOCALE_SENGLANGUAGE, 500));
    std::memcpy(buffer, name.c_str(), static_cast<std::size_t>(name.length()) + 1);
    return buffer;
}

utString nlsDomainManager::fix_setlocale_argument(const utString& name) {
    if (name == utString(utStringLit{}, "check")) return utString(utStringLit{}, "C");
    utString country = locale_info(GetUserDefaultLCID(), LOCALE_SABBREVCTRYNAME, 500);
    utString language = first_word(locale_info(GetUserDefaultLCID(), LOCALE_SENGLANGUAGE, 500));
    if (name == language + utString(utStringLit{}, "-") + country)
        return language + utString(utStringLit{}, "_") + country;
    return name;
}

int nlsDomainManager::do_setlocale(int category, const utString& name) {
    utString users = s_users_env;
    if (!users.empty()) users = fix_setlocale_argument(users);
    utString chosen = name == users ? utString(utStringLit{}, "") : name;
    // The language table knows the ISO names of its languages; the platform maps with them.
    nlsLanguage record(chosen.c_str());
    const char* iso = record.iso_name().c_str();
    if (!ap_setlocale(category, chosen.c_str(), iso)) return 0;
    try {
        std::locale named =
            ap_make_locale(std::locale(), chosen.c_str(), iso, cpp_category(category));
        if (named.name() != "*") s_cpp_named_locale = named;
        std::locale num(named, new nlsNumPunct(chosen.c_str(), 0));
        s_cpp_num_locale = num;
        std::locale::global(num);
    } catch (const std::exception&) {
        return 0;
    }
    return 1;
}

unsigned int nlsDomainManager::setlocale(int category) {
    nlsErrorData record(nlsERROR_NONE);
    utString effective = the_current_language == s_no_translation_language
                             ? s_no_translation_current_language
                             : the_current_language;
    utString wanted;
    if (effective.empty()) {
        wanted = utString(env_language(nlsLANG_LOCALE));
    } else {
        wanted = the_current_language;
        if (wanted == s_no_translation_language) {
            char buffer[500];
            wanted = utString(get_language(buffer));
        }
    }
    if (!wanted.empty()) {
        utString argument = fix_setlocale_argument(wanted);
        if (!do_setlocale(category, argument))
            record = nlsErrorData(nlsERROR_LOCALE_SETUP, argument);
    } else if (!do_setlocale(category, utString(utStringLit{}, ""))) {
        record = nlsErrorData(nlsERROR_LOCALE_SETUP, utString(utStringLit{}, "????"));
    }
    nlsUtils::lookup_decimal_point();
    the_numeric_translation_flag = record.code() == nlsERROR_NONE;
    if (record.code() != nlsERROR_NONE && the_error_handler && !the_error_handler(record)) {
        ut_report_assert_failure("nls/nlsDomainManager", 768,
                                 "nlsDomainManager::setlocale| Failed to set locale",
                                 "nlsDomainManager::setlocale", "0");
    }
    return record.code();
}

unsigned int nlsDomainManager::language(const utString& name) {
    the_current_language = name;
    if (the_databases) {
        // An iterator of our own leaves the list's cursor to add and remove.
        nlsDataBasecoDListPtrcoPtrcoDListBcoIteratorB each(the_databases);
        while (++each) {
            nlsDataBase* database = each.value();
            if (std::strcmp(database->language(), name.c_str()) != 0) database->language(name);
        }
    }
    return setlocale(LC_ALL);
}

void nlsDomainManager::set_regional_locale() {
    utString kept = the_current_language;
    get_regional_language(&the_current_language, nlsLANG_REGIONAL);
    setlocale(LC_ALL);
    the_current_language = kept;
}

void nlsDomainManager::unset_regional_locale() {
    setlocale(LC_ALL);
}

// ---------------------------------------------------------------------------------------------
// Locale names

void nlsDomainManager::get_regional_language(utString* out, nlsLang purpose) {
    if (!out) return;
    *out = first_word(locale_info(GetUserDefaultLCID(), LOCALE_SENGLANGUAGE, 500));
    if (purpose == nlsLANG_REGIONAL || out->empty()) return;
    utString language = locale_info(GetUserDefaultLCID(), LOCALE_SABBREVLANGNAME, 500);
    utString country = locale_info(GetUserDefaultLCID(), LOCALE_SABBREVCTRYNAME, 500);
    if (language != country) *out << "-" << country;
}

utString nlsDomainManager::get_iso_locale(const utString& language) {
    if (language.case_compare(utString(utStringLit{}, "check")) == 0) return language;
    if (language.case_compare(utString(utStringLit{}, "C")) == 0) return utString("en-GB");
    s_locale_ids.clear();
    EnumSystemLocalesW(add_locale_id, LCID_SUPPORTED);
    intcoDList::iterator id(s_locale_ids);
    while (++id) {
        LCID lcid = static_cast<LCID>(id.value());
        utString name = first_word(locale_info(lcid, LOCALE_SENGLANGUAGE, 256));
        utString country = locale_info(lcid, LOCALE_SABBREVCTRYNAME, 256);
        if ((name + utString(utStringLit{}, "-") + country).case_compare(language) == 0) {
            utString region = locale_info(lcid, LOCALE_SISO3166CTRYNAME, 500);
            region.convert(::toupper);
            return locale_info(lcid, LOCALE_SISO639LANGNAME, 500) << "-" << region;
        }
        if (name.case_compare(language) == 0) return locale_info(lcid, LOCALE_SISO639LANGNAME, 500);
    }
    return utString("en-GB");
}

utString nlsDomainManager::get_abbreviated_language(const utString& locale_name) {
    utString fallback(utStringLit{}, "ENG");
    if (locale_name.length() == 0) return fallback;
    wchar_t wide[100];
    std::size_t count = std::mbstowcs(wide, locale_name.c_str(), 100);
    if (count < 1 || count > 99) return fallback; // (size_t)-1 on failure is above 99 too
    wchar_t answer[100];
    if (GetLocaleInfoEx(wide, LOCALE_SABBREVLANGNAME, answer, 100) == 0) return fallback;
    char narrow[100];
    count = std::wcstombs(narrow, answer, 100);
    if (count < 1 || count > 99) return fallback;
    return utString(narrow);
}

// ---------------------------------------------------------------------------------------------
// The persisted display language

void nlsDomainManager::set_application_settings(std::unique_ptr<nlsApplicationSettings> settings) {
    s_application_settings = std::move(settings);
}

nlsErrorData nlsDomainManager::get_display_language(nlsLanguage& language) {
    if (!s_application_settings) {
        language = nlsLanguage();
        return nlsErrorData(nlsERROR_NONE);
    }
    return s_application_settings->get_display_language(language);
}

nlsErrorData nlsDomainManager::set_display_language(nlsLanguage language) {
    if (!s_application_settings) return nlsErrorData(nlsERROR_NONE);
    return s_application_settings->set_display_language(language);
}

// ---------------------------------------------------------------------------------------------
// Numbers

bool nlsDomainManager::set_cpp_named_locale() {
    std::string named = s_cpp_named_locale.name();
    std::string global = std::locale().name();
    if (!named.empty()) {
        if (global == "*") std::locale::global(s_cpp_named_locale);
        return true;
    }
    return !global.empty() && global != "*";
}

bool nlsDomainManager::set_cpp_num_locale() {
    std::string num = s_cpp_num_locale.name();
    if (num.empty() || num != "*") return false;
    if (std::locale().name() != "*") std::locale::global(s_cpp_num_locale);
    return true;
}

int nlsDomainManager::numeric_translation(int flag) {
    int old = the_numeric_translation_flag;
    the_numeric_translation_flag = flag;
    if (flag) {
        setlocale(LC_NUMERIC);
    } else {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        if (!current || std::strcmp(current, "C") != 0)
            do_setlocale(LC_NUMERIC, utString(utStringLit{}, "C"));
    }
    nlsUtils::lookup_decimal_point();
    return old;
}

// ---------------------------------------------------------------------------------------------
// Available languages

namespace {
// Names in byte order as unsigned values, case-sensitively; an empty name first.
bool name_before(const nlsLanguage& a, const nlsLanguage& b) {
    return std::strcmp(a.name().c_str(), b.name().c_str()) < 0;
}

std::vector<nlsLanguage> languages_of(const nlsDataBase* database) {
    std::vector<nlsLanguage> languages;
    database->list_available_languages(coiFillers::make_filler(languages));
    return languages;
}
} // namespace

nlsErrorData nlsDomainManager::list_available_languages(coiFiller<nlsLanguage> filler) {
    if (!the_databases || the_databases->count() == 0) return nlsErrorData(nlsERROR_NONE);
    // Own iterators rather than the list's built-in cursor, which textdomain and add move; and
    // deliveries only between walks, so that a sink may register or destroy databases.
    nlsDataBasecoDListPtrcoPtrcoDListBcoIterator first(the_databases);
    ++first;
    std::vector<nlsLanguage> candidates = languages_of(first.value());
    std::sort(candidates.begin(), candidates.end(), name_before);
    for (const nlsLanguage& candidate : candidates) {
        bool everywhere = true;
        if (the_databases) {
            nlsDataBasecoDListPtrcoPtrcoDListBcoIterator it(the_databases);
            while (everywhere && ++it) {
                std::vector<nlsLanguage> listed = languages_of(it.value());
                everywhere = std::find(listed.begin(), listed.end(), candidate) != listed.end();
            }
        }
        if (everywhere) filler.add(candidate);
    }
    return nlsErrorData(nlsERROR_NONE);
}
