#include <nls/nlsDomainManager.h>

#include <nls/internal/nlsCatalogueChain.h>
#include <nls/internal/nlsChangeGuard.h>
#include <nls/internal/nlsRegistry.h>
#include <nls/nlsApplicationSettings.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <platform/apUtils.h>

// The manager's entry points: each takes the library's lock once, for a change or a query of
// more than one word, and leaves the work on databases and catalogues to the registry. Lookups
// take no lock: they read the chains that the end of the last change published.

nlsDomainManager::handler_type nlsDomainManager::the_error_handler =
    &nlsDomainManager::the_default_error_handler;
int nlsDomainManager::verbose_loading_info = 0;

nlsDataBasecoDListPtrcoPtrcoDList* nlsDomainManager::the_databases = nullptr;
nlsDataBase* nlsDomainManager::the_current_domain = nullptr;
nlsLoadedDomain* nlsDomainManager::the_loaded_domains = nullptr;

const char* nlsDomainManager::error_to_string(const nlsErrorData& data) {
    if (data.code() == nlsERROR_NONE) return "nlsERROR_NONE";
    // One text per thread, so that reports made in two threads at once do not overwrite
    // each other.
    thread_local utString message;
    message = data.text();
    return message.c_str();
}

int nlsDomainManager::set_verbose_info(int value) {
    nlsChangeGuard guard;
    int previous = verbose_loading_info;
    verbose_loading_info = value;
    return previous;
}

int nlsDomainManager::verbose_info() {
    nlsChangeGuard guard;
    return verbose_loading_info;
}

nlsDomainManager::handler_type nlsDomainManager::error_handler(handler_type handler) {
    nlsChangeGuard guard;
    handler_type previous = the_error_handler;
    the_error_handler = handler;
    return previous;
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
    nlsChangeGuard guard;
    return nlsRegistry::add(database);
}

unsigned int nlsDomainManager::remove(nlsDataBase* database) {
    nlsChangeGuard guard;
    return nlsRegistry::remove(database);
}

nlsLoadedDomain* nlsDomainManager::access_domain(const utString& path) {
    nlsChangeGuard guard;
    return nlsRegistry::access(path);
}

nlsLoadedDomain* nlsDomainManager::load_domain(const utString& path, unsigned int* error) {
    nlsChangeGuard guard;
    return nlsRegistry::load(path, error);
}

void nlsDomainManager::unload_domain(nlsLoadedDomain* domain) {
    nlsChangeGuard guard;
    nlsRegistry::unload(domain);
}

const char* nlsDomainManager::textdomain(const char* domain) {
    nlsChangeGuard guard;
    return nlsRegistry::select_domain(domain);
}

const char* nlsDomainManager::bind_textdomain_codeset(const char* domain, const char* codeset) {
    nlsChangeGuard guard;
    return nlsRegistry::bind_codeset(domain, codeset);
}

const char* nlsDomainManager::gettext(const char* message) {
    return nlsCatalogueChain::gettext(nlsRegistry::published_chain(nullptr), message);
}

const char* nlsDomainManager::ngettext(const char* singular, const char* plural, unsigned long n) {
    return nlsCatalogueChain::ngettext(nlsRegistry::published_chain(nullptr), singular, plural,
                                       n);
}

const char* nlsDomainManager::pgettext(const char* context, const char* message) {
    return nlsCatalogueChain::pgettext(nlsRegistry::published_chain(nullptr), context, message);
}

const char* nlsDomainManager::npgettext(const char* context, const char* singular,
                                        const char* plural, unsigned long n) {
    return nlsCatalogueChain::npgettext(nlsRegistry::published_chain(nullptr), context, singular,
                                        plural, n);
}

// A null domain is the current one: the lookups above are these with null.
const char* nlsDomainManager::dgettext(const char* domain, const char* message) {
    return nlsCatalogueChain::gettext(nlsRegistry::published_chain(domain), message);
}

const char* nlsDomainManager::dngettext(const char* domain, const char* singular,
                                        const char* plural, unsigned long n) {
    return nlsCatalogueChain::ngettext(nlsRegistry::published_chain(domain), singular, plural, n);
}

const char* nlsDomainManager::dpgettext(const char* domain, const char* context,
                                        const char* message) {
    return nlsCatalogueChain::pgettext(nlsRegistry::published_chain(domain), context, message);
}

const char* nlsDomainManager::dnpgettext(const char* domain, const char* context,
                                         const char* singular, const char* plural,
                                         unsigned long n) {
    return nlsCatalogueChain::npgettext(nlsRegistry::published_chain(domain), context, singular,
                                        plural, n);
}

// ---------------------------------------------------------------------------------------------
// The persisted display language

void nlsDomainManager::set_application_settings(std::unique_ptr<nlsApplicationSettings> settings) {
    nlsChangeGuard guard;
    s_application_settings = std::move(settings);
}

nlsErrorData nlsDomainManager::get_display_language(nlsLanguage& language) {
    nlsChangeGuard guard;
    if (!s_application_settings) {
        language = nlsLanguage();
        return nlsErrorData(nlsERROR_NONE);
    }
    return s_application_settings->get_display_language(language);
}

nlsErrorData nlsDomainManager::set_display_language(nlsLanguage language) {
    nlsChangeGuard guard;
    if (!s_application_settings) return nlsErrorData(nlsERROR_NONE);
    return s_application_settings->set_display_language(language);
}

// ---------------------------------------------------------------------------------------------
// Available languages

nlsErrorData nlsDomainManager::list_available_languages(coiFiller<nlsLanguage> filler) {
    nlsChangeGuard guard;
    nlsRegistry::list_common_languages(filler);
    return nlsErrorData(nlsERROR_NONE);
}
