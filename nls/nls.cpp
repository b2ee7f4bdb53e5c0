#include <nls/nls.h>

#include <nls/fillers/coiFillers.h>
#include <nls/internal/nlsCatalogueChain.h>
#include <nls/internal/nlsChangeGuard.h>
#include <nls/internal/nlsIntern.h>
#include <nls/internal/nlsLocaleInfo.h>
#include <nls/nlsDataBase.h>
#include <nls/nlsDomainManager.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <nls/nlsWinApplicationSettings.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

// The handle is the database itself.
struct nls_database : nlsDataBase {
    using nlsDataBase::nlsDataBase;
};

namespace {

// The C codes are the library's own: a report's code reaches C handlers unchanged.
constexpr struct {
    int c;
    unsigned int cxx;
} kSameCodes[] = {
    {NLS_OK, nlsERROR_NONE},
    {NLS_ERROR_FAILED, nlsERROR_FAILED},
    {NLS_ERROR_CATALOG_STAT, nlsERROR_CATALOG_STAT},
    {NLS_ERROR_CATALOG_OPEN, nlsERROR_CATALOG_OPEN},
    {NLS_ERROR_CATALOG_MAGIC, nlsERROR_CATALOG_MAGIC},
    {NLS_ERROR_CATALOG_REVISION, nlsERROR_CATALOG_REVISION},
    {NLS_ERROR_NO_DOMAIN, nlsERROR_NO_DOMAIN},
    {NLS_ERROR_MEMORY, nlsERROR_MEMORY},
    {NLS_ERROR_LOCALE_SETUP, nlsERROR_LOCALE_SETUP},
    {NLS_ERROR_CATALOG_LANGUAGE, nlsERROR_CATALOG_LANGUAGE},
    {NLS_ERROR_DOMAIN_EXISTS, nlsERROR_DOMAIN_EXISTS},
    {NLS_ERROR_CATALOG_FALLBACK, nlsERROR_CATALOG_FALLBACK},
    {NLS_ERROR_CATALOG_FILE, nlsERROR_CATALOG_FILE},
    {NLS_ERROR_CATALOG_SEARCH, nlsERROR_CATALOG_SEARCH},
};
constexpr bool codes_agree() {
    for (const auto& code : kSameCodes)
        if (static_cast<unsigned int>(code.c) != code.cxx) return false;
    return true;
}
static_assert(codes_agree(), "a C code differs from the library's");

// Runs `body`, turning any exception into a code: none may unwind into C.
template <class Body> int guarded(Body body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return NLS_ERROR_MEMORY;
    } catch (...) {
        return NLS_ERROR_FAILED;
    }
}

// Lookups allocate nothing; should one ever throw, the message comes back untranslated.
template <class Body> const char* guarded_text(const char* fallback, Body body) {
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

// Names handed to C stay valid for the life of the process.
const char* interned(const utString& name) {
    return nls_intern(name).c_str();
}

// A library, ISO or POSIX name as the table's record.
nlsLanguage record_of(const char* name) {
    return nlsLanguage(nls_language_of(utString(name)).c_str());
}

// The C handler, and the C++ handlers it replaced; guarded by the library's lock.
struct ReportRoute {
    nls_report_handler handler = nullptr;
    void* user = nullptr;
    nlsDataBase::handler_type database_before = nullptr;
    nlsDomainManager::handler_type manager_before = nullptr;
} g_route;

int report_to_c(const nlsErrorData& data) {
    nlsChangeGuard guard;
    if (!g_route.handler) return 1;
    return g_route.handler(static_cast<int>(data.code()), nlsDomainManager::error_to_string(data),
                           g_route.user);
}

int database_report(const nlsDataBase&, const nlsErrorData& data) {
    return report_to_c(data);
}

} // namespace

extern "C" {

int nls_api_version(void) {
    return NLS_C_API_VERSION;
}

int nls_database_create(const char* directory, const char* domain, nls_database** database) {
    if (!database) return NLS_ERROR_ARGUMENT;
    *database = nullptr;
    if (!domain) return NLS_ERROR_ARGUMENT;
    return guarded([&] {
        *database = new nls_database(directory, domain);
        return NLS_OK;
    });
}

void nls_database_destroy(nls_database* database) {
    delete database;
}

const char* nls_database_language(const nls_database* database) {
    return database ? guarded_text(nullptr, [&] { return database->language(); }) : nullptr;
}

const char* nls_gettext(const nls_database* database, const char* message) {
    return guarded_text(message, [&] {
        return database ? database->gettext(message) : nlsDomainManager::gettext(message);
    });
}

const char* nls_ngettext(const nls_database* database, const char* singular, const char* plural,
                         unsigned long n) {
    return guarded_text(nls_untranslated(singular, plural, n), [&] {
        return database ? database->ngettext(singular, plural, n)
                        : nlsDomainManager::ngettext(singular, plural, n);
    });
}

const char* nls_pgettext(const nls_database* database, const char* context, const char* message) {
    return guarded_text(message, [&] {
        return database ? database->pgettext(context, message)
                        : nlsDomainManager::pgettext(context, message);
    });
}

const char* nls_npgettext(const nls_database* database, const char* context, const char* singular,
                          const char* plural, unsigned long n) {
    return guarded_text(nls_untranslated(singular, plural, n), [&] {
        return database ? database->npgettext(context, singular, plural, n)
                        : nlsDomainManager::npgettext(context, singular, plural, n);
    });
}

const char* nls_dgettext(const char* domain, const char* message) {
    return guarded_text(message, [&] { return nlsDomainManager::dgettext(domain, message); });
}

const char* nls_dngettext(const char* domain, const char* singular, const char* plural,
                          unsigned long n) {
    return guarded_text(nls_untranslated(singular, plural, n),
                        [&] { return nlsDomainManager::dngettext(domain, singular, plural, n); });
}

const char* nls_dpgettext(const char* domain, const char* context, const char* message) {
    return guarded_text(message,
                        [&] { return nlsDomainManager::dpgettext(domain, context, message); });
}

const char* nls_dnpgettext(const char* domain, const char* context, const char* singular,
                           const char* plural, unsigned long n) {
    return guarded_text(nls_untranslated(singular, plural, n), [&] {
        return nlsDomainManager::dnpgettext(domain, context, singular, plural, n);
    });
}

const char* nls_textdomain(const char* domain) {
    return guarded_text(nullptr, [&] { return nlsDomainManager::textdomain(domain); });
}

int nls_set_language(const char* name) {
    if (!name) return NLS_ERROR_ARGUMENT;
    return guarded([&] { return static_cast<int>(nlsDomainManager::language(utString(name))); });
}

const char* nls_language(void) {
    return guarded_text("", [] { return nlsDomainManager::language().c_str(); });
}

const char* nls_iso_name(const char* language) {
    if (!language) return nullptr;
    return guarded_text("en-GB", [&] {
        nlsLanguage record = record_of(language);
        return interned(record.iso_name().empty() ? nlsDomainManager::get_iso_locale(record.name())
                                                  : record.iso_name());
    });
}

int nls_list_languages(const nls_database* database, nls_language_callback callback, void* user) {
    if (!callback) return NLS_ERROR_ARGUMENT;
    return guarded([&] {
        // Gathered first: the callback may create or destroy databases. A database lists in
        // directory order; C callers get one order.
        std::vector<nlsLanguage> languages;
        int code = NLS_OK;
        if (database)
            database->list_available_languages(coiFillers::make_filler(languages));
        else
            code = static_cast<int>(
                nlsDomainManager::list_available_languages(coiFillers::make_filler(languages))
                    .code());
        std::sort(languages.begin(), languages.end(), [](const auto& a, const auto& b) {
            return std::strcmp(a.name().c_str(), b.name().c_str()) < 0;
        });
        for (const nlsLanguage& language : languages)
            callback(language.name().c_str(), language.iso_name().c_str(), user);
        return code;
    });
}

const char* nls_bind_textdomain_codeset(const char* domain, const char* codeset) {
    return guarded_text(nullptr,
                        [&] { return nlsDomainManager::bind_textdomain_codeset(domain, codeset); });
}

int nls_set_source_language(const char* name) {
    return guarded([&] {
        nlsDomainManager::set_source_language(utString(name ? name : ""));
        return NLS_OK;
    });
}

int nls_set_settings_key(const char* key_path) {
    return guarded([&] {
        std::unique_ptr<nlsApplicationSettings> settings;
        if (key_path) settings = std::make_unique<nlsWinApplicationSettings>(utString(key_path));
        nlsDomainManager::set_application_settings(std::move(settings));
        return NLS_OK;
    });
}

int nls_set_display_language(const char* language) {
    if (!language) return NLS_ERROR_ARGUMENT;
    return guarded([&] {
        return static_cast<int>(nlsDomainManager::set_display_language(record_of(language)).code());
    });
}

int nls_get_display_language(const char** language) {
    if (!language) return NLS_ERROR_ARGUMENT;
    *language = "";
    return guarded([&] {
        nlsLanguage stored;
        int code = static_cast<int>(nlsDomainManager::get_display_language(stored).code());
        *language = interned(stored.name());
        return code;
    });
}

void nls_set_report_handler(nls_report_handler handler, void* user) {
    guarded([&] {
        nlsChangeGuard guard;
        if (handler) {
            // Installing twice keeps the handlers from before the first time.
            nlsDataBase::handler_type database_before =
                nlsDataBase::error_handler(&database_report);
            if (database_before != &database_report) g_route.database_before = database_before;
            nlsDomainManager::handler_type manager_before =
                nlsDomainManager::error_handler(&report_to_c);
            if (manager_before != &report_to_c) g_route.manager_before = manager_before;
        } else if (g_route.handler) {
            nlsDataBase::error_handler(g_route.database_before);
            nlsDomainManager::error_handler(g_route.manager_before);
        }
        g_route.handler = handler;
        g_route.user = user;
        return NLS_OK;
    });
}

} // extern "C"
