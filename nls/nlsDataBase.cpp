#include <nls/nlsDataBase.h>

#include <nls/internal/nlsCatalogueChain.h>
#include <nls/internal/nlsChangeGuard.h>
#include <nls/internal/nlsRegistry.h>
#include <nls/nlsDomainManager.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLoadedDomain.h>
#include <platform/apUtils.h>
#include <platform/internal/apAtomic.h>

// A database is a handle: every decision about its catalogues is the registry's, taken under
// the library's lock; lookups read the chain that the end of the last change published.

nlsDataBase::handler_type nlsDataBase::the_error_handler = &nlsDataBase::the_default_error_handler;
utString nlsDataBase::the_default_pathlist;
utString nlsDataBase::the_binary_suffix(utStringLit{}, ".mo");

namespace {

const utString kNoDomain(utStringLit{}, "");

} // namespace

nlsDataBase::nlsDataBase(const char* domain) : nlsDataBase(nullptr, domain) {}

nlsDataBase::nlsDataBase(const char* pathlist, const char* domain)
    : m_domain(domain), m_initialised(0), m_language(), m_loaded_domain(nullptr),
      m_pathlist(pathlist), m_chain(nullptr), m_lookup_chain(nullptr), m_shared_for() {
    nlsChangeGuard guard;
    nlsRegistry::attach(*this);
}

nlsDataBase::~nlsDataBase() {
    nlsChangeGuard guard;
    nlsRegistry::detach(*this);
}

const utString& nlsDataBase::domain() const {
    // What the end of the last change published, so that a switch in another thread is seen
    // whole; the catalogue it gave back is retired, not freed.
    const nlsCatalogueChain* chain = ap_load_acquire(m_lookup_chain);
    return chain ? chain->catalogues.front()->path : kNoDomain;
}

const char* nlsDataBase::gettext(const char* message) const {
    return nlsCatalogueChain::gettext(ap_load_acquire(m_lookup_chain), message);
}

const char* nlsDataBase::ngettext(const char* singular, const char* plural, unsigned long n) const {
    return nlsCatalogueChain::ngettext(ap_load_acquire(m_lookup_chain), singular, plural, n);
}

const char* nlsDataBase::pgettext(const char* context, const char* message) const {
    return nlsCatalogueChain::pgettext(ap_load_acquire(m_lookup_chain), context, message);
}

const char* nlsDataBase::npgettext(const char* context, const char* singular, const char* plural,
                                   unsigned long n) const {
    return nlsCatalogueChain::npgettext(ap_load_acquire(m_lookup_chain), context, singular,
                                        plural, n);
}

const char* nlsDataBase::language() const {
    nlsChangeGuard guard;
    return nlsRegistry::language_of(*this);
}

int nlsDataBase::language(const utString& name) {
    nlsChangeGuard guard;
    return nlsRegistry::switch_language(*this, name);
}

const char* nlsDataBase::bind_codeset(const char* codeset) {
    nlsChangeGuard guard;
    return nlsRegistry::bind_codeset(m_domain.c_str(), codeset);
}

const utString& nlsDataBase::pathlist() const {
    return m_pathlist.empty() ? the_default_pathlist : m_pathlist;
}

const utString& nlsDataBase::locale_path() const {
    return pathlist();
}

void nlsDataBase::initialise(const utString& pathlist) {
    nlsChangeGuard guard;
    nlsRegistry::initialise(*this, pathlist);
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
    nlsChangeGuard guard;
    return nlsRegistry::report(*this, data);
}

int nlsDataBase::the_default_error_handler(const nlsDataBase&, const nlsErrorData& data) {
    apprintf("%s\n", nlsDomainManager::error_to_string(data));
    return (data.code() & 1u) == 0;
}

int nlsDataBase::report_errors_only(const nlsDataBase& database, const nlsErrorData& data) {
    switch (data.code()) {
    case nlsERROR_CATALOG_LANGUAGE:
    case nlsERROR_CATALOG_FALLBACK:
    case nlsERROR_CATALOG_SEARCH:
        return 1;
    default:
        return the_default_error_handler(database, data);
    }
}

void nlsDataBase::list_available_languages(coiFiller<nlsLanguage> filler) const {
    nlsChangeGuard guard;
    nlsRegistry::list_languages(*this, filler);
}
