#include <nls/nlsDomainManager.h>

#include <nls/containers/nlsDataBasecoDListPtrcoPtrcoDList.h>
#include <nls/fillers/coiFillers.h>
#include <nls/nlsApplicationSettings.h>
#include <nls/internal/nlsChangeGuard.h>
#include <nls/nlsDataBase.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <nls/nlsLoadedDomain.h>
#include <platform/internal/apAtomic.h>
#include <platform/apFileFinder.h>
#include <platform/apUtils.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

// How lookups run beside changes. Changes take the library's lock (nlsChangeGuard) and, when the
// outermost one ends, publish what lookups read: the current domain's catalogue and, per domain
// name, the catalogue of its first database. Lookups read those words and nothing else of the
// registry, so they take no lock. A catalogue whose last use is given back while databases remain
// is retired rather than freed (a lookup may still be reading it, and translations handed out
// point into it); retired catalogues are taken up again when their file is wanted, and freed
// once no database is left.

namespace {

std::atomic<nlsLoadedDomain*> g_current_catalogue{nullptr};

// One per domain name ever registered: a handful, kept for the life of the process so that a
// lookup never walks a freed entry.
struct DomainSlot {
    std::string name;
    std::atomic<nlsLoadedDomain*> catalogue{nullptr};
    DomainSlot* next = nullptr;
};
std::atomic<DomainSlot*> g_domain_slots{nullptr};

struct Retired {
    std::vector<nlsLoadedDomain*> catalogues;
    void free_all() {
        for (nlsLoadedDomain* catalogue : catalogues)
            delete catalogue;
        catalogues.clear();
    }
    ~Retired() { free_all(); }
};
Retired& retired() {
    static Retired list;
    return list;
}

struct SlotsOwner {
    ~SlotsOwner() {
        for (DomainSlot* slot = g_domain_slots.exchange(nullptr); slot;) {
            DomainSlot* next = slot->next;
            delete slot;
            slot = next;
        }
    }
} g_slots_owner;

DomainSlot* find_slot(const char* name) {
    for (DomainSlot* slot = g_domain_slots.load(std::memory_order_acquire); slot; slot = slot->next)
        if (slot->name == name) return slot;
    return nullptr;
}

} // namespace

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
    nlsChangeGuard guard;
    if (!the_databases) return nlsERROR_NO_DOMAIN;
    for (the_databases->reset(); ++*the_databases;) {
        if (the_databases->value() != database) continue;
        the_databases->remove();
        // Forget the selection too, so that gettext never reaches a destroyed database.
        if (the_current_domain == database) the_current_domain = nullptr;
        // The list goes with its last database; add makes a new one.
        if (the_databases->count() == 0) {
            delete the_databases;
            the_databases = nullptr;
        }
        return nlsERROR_NONE;
    }
    return nlsERROR_NO_DOMAIN;
}

namespace {

// Catalogue paths order the loaded list byte by byte, as unsigned values.
int compare_paths(const utString& a, const utString& b) {
    return std::strcmp(a.c_str(), b.c_str());
}

// Enters `entry` in the loaded list, in order of path, with one use.
void insert_loaded(nlsLoadedDomain*& head, nlsLoadedDomain* entry) {
    nlsLoadedDomain** link = &head;
    while (*link && compare_paths((*link)->path, entry->path) < 0)
        link = &(*link)->next;
    entry->next = *link;
    *link = entry;
    entry->references = 1;
}

} // namespace

nlsLoadedDomain* nlsDomainManager::access_domain(const utString& path) {
    nlsChangeGuard guard;
    nlsLoadedDomain* found = nullptr;
    for (nlsLoadedDomain* entry = the_loaded_domains; entry; entry = entry->next) {
        int order = compare_paths(entry->path, path);
        if (order == 0) found = entry;
        if (order >= 0) break;
    }
    // The same file under another spelling of its directory ("/big/", "/./big") is shared too.
    apFileIdentity identity;
    if (!found && apFileFinder::identity(path, identity)) {
        for (nlsLoadedDomain* entry = the_loaded_domains; entry && !found; entry = entry->next)
            if (entry->identity == identity) found = entry;
    }
    if (found) ++found->references;
    return found;
}

nlsLoadedDomain* nlsDomainManager::load_domain(const utString& path, unsigned int* error) {
    nlsChangeGuard guard;
    // A retired catalogue of that file, unchanged since, is still in memory: it is taken up
    // again, not reread. Where the system cannot tell files apart, the path decides.
    apFileIdentity identity;
    const bool known = apFileFinder::identity(path, identity);
    std::vector<nlsLoadedDomain*>& kept = retired().catalogues;
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        if (known ? !((*it)->identity == identity) : compare_paths((*it)->path, path) != 0)
            continue;
        nlsLoadedDomain* entry = *it;
        kept.erase(it);
        if (error) *error = nlsERROR_NONE;
        insert_loaded(the_loaded_domains, entry);
        return entry;
    }
    nlsLoadedDomain* entry = new nlsLoadedDomain(path, error);
    if (entry->failed) {
        delete entry;
        return nullptr;
    }
    insert_loaded(the_loaded_domains, entry);
    return entry;
}

void nlsDomainManager::unload_domain(nlsLoadedDomain* domain) {
    nlsChangeGuard guard;
    for (nlsLoadedDomain** link = &the_loaded_domains; *link; link = &(*link)->next) {
        if (*link != domain) continue;
        if (--domain->references == 0) {
            *link = domain->next;
            domain->next = nullptr;
            // With no database left nobody can be reading it; otherwise a lookup may be.
            if (the_databases)
                retired().catalogues.push_back(domain);
            else
                delete domain;
        }
        return;
    }
}

void nlsDomainManager::publish() {
    if (the_databases) {
        nlsDataBasecoDListPtrcoPtrcoDListBcoIterator it(the_databases);
        while (++it)
            ap_store_release(it.value()->m_lookup_domain, it.value()->m_loaded_domain);
    }
    g_current_catalogue.store(the_current_domain ? the_current_domain->m_loaded_domain : nullptr,
                              std::memory_order_release);
    if (the_databases) {
        // Every domain name gets its slot before the slots are filled.
        nlsDataBasecoDListPtrcoPtrcoDListBcoIterator it(the_databases);
        while (++it) {
            const char* name = it.value()->m_domain.c_str();
            if (find_slot(name)) continue;
            DomainSlot* slot = new DomainSlot;
            slot->name = name;
            slot->next = g_domain_slots.load(std::memory_order_relaxed);
            g_domain_slots.store(slot, std::memory_order_release);
        }
    }
    for (DomainSlot* slot = g_domain_slots.load(std::memory_order_acquire); slot;
         slot = slot->next) {
        nlsLoadedDomain* catalogue = nullptr;
        if (the_databases) {
            nlsDataBasecoDListPtrcoPtrcoDListBcoIterator it(the_databases);
            while (++it) {
                if (slot->name != it.value()->m_domain.c_str()) continue;
                catalogue = it.value()->m_loaded_domain;
                break;
            }
        }
        slot->catalogue.store(catalogue, std::memory_order_release);
    }
    if (!the_databases) retired().free_all();
}

nlsLoadedDomain* nlsDomainManager::catalogue_of(const char* domain) {
    if (!domain) return g_current_catalogue.load(std::memory_order_acquire);
    DomainSlot* slot = find_slot(domain);
    return slot ? slot->catalogue.load(std::memory_order_acquire) : nullptr;
}

const char* nlsDomainManager::textdomain(const char* domain) {
    nlsChangeGuard guard;
    if (!domain || !*domain)
        return the_current_domain ? the_current_domain->domain().c_str() : nullptr;
    if (!the_databases || the_databases->count() == 0) return nullptr;
    utString wanted(utStringLit{}, domain);
    // An iterator of our own: the list's cursor belongs to add and remove.
    nlsDataBasecoDListPtrcoPtrcoDListBcoIterator it(the_databases);
    while (++it) {
        nlsDataBase* database = it.value();
        if (database->m_domain == wanted) {
            the_current_domain = database;
            return database->domain().c_str();
        }
    }
    return nullptr;
}

const char* nlsDomainManager::gettext(const char* message) {
    return dgettext(nullptr, message);
}

const char* nlsDomainManager::ngettext(const char* singular, const char* plural, unsigned long n) {
    return dngettext(nullptr, singular, plural, n);
}

const char* nlsDomainManager::pgettext(const char* context, const char* message) {
    return dpgettext(nullptr, context, message);
}

const char* nlsDomainManager::npgettext(const char* context, const char* singular,
                                        const char* plural, unsigned long n) {
    return dnpgettext(nullptr, context, singular, plural, n);
}

const char* nlsDomainManager::dgettext(const char* domain, const char* message) {
    const nlsLoadedDomain* catalogue = catalogue_of(domain);
    return catalogue ? catalogue->translate(message) : message;
}

const char* nlsDomainManager::dngettext(const char* domain, const char* singular,
                                        const char* plural, unsigned long n) {
    const nlsLoadedDomain* catalogue = catalogue_of(domain);
    return catalogue ? catalogue->ngettext(singular, plural, n) : n == 1 ? singular : plural;
}

const char* nlsDomainManager::dpgettext(const char* domain, const char* context,
                                        const char* message) {
    const nlsLoadedDomain* catalogue = catalogue_of(domain);
    return catalogue ? catalogue->pgettext(context, message) : message;
}

const char* nlsDomainManager::dnpgettext(const char* domain, const char* context,
                                         const char* singular, const char* plural,
                                         unsigned long n) {
    const nlsLoadedDomain* catalogue = catalogue_of(domain);
    return catalogue ? catalogue->npgettext(context, singular, plural, n)
           : n == 1  ? singular
                     : plural;
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
    nlsChangeGuard guard;
    if (!the_databases || the_databases->count() == 0) return nlsErrorData(nlsERROR_NONE);
    // Each database's directory is read once, with an iterator of our own rather than the list's
    // cursor; deliveries come after the walk, so that a sink may register or destroy databases.
    std::vector<std::vector<nlsLanguage>> listed;
    nlsDataBasecoDListPtrcoPtrcoDListBcoIterator it(the_databases);
    while (++it)
        listed.push_back(languages_of(it.value()));
    std::vector<nlsLanguage> candidates = listed.front();
    std::sort(candidates.begin(), candidates.end(), name_before);
    for (const nlsLanguage& candidate : candidates) {
        bool everywhere = std::all_of(listed.begin(), listed.end(), [&](const auto& languages) {
            return std::find(languages.begin(), languages.end(), candidate) != languages.end();
        });
        if (everywhere) filler.add(candidate);
    }
    return nlsErrorData(nlsERROR_NONE);
}
