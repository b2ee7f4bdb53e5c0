#include <nls/internal/nlsRegistry.h>

#include <nls/containers/nlsDataBasecoDListPtrcoPtrcoDList.h>
#include <nls/fillers/coiFillers.h>
#include <nls/internal/nlsCatalogueChain.h>
#include <nls/internal/nlsCatalogueSearch.h>
#include <nls/internal/nlsIntern.h>
#include <nls/internal/nlsLanguageChoice.h>
#include <nls/internal/nlsLocaleInfo.h>
#include <nls/nlsDataBase.h>
#include <nls/nlsDomainManager.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLoadedDomain.h>
#include <platform/apFileFinder.h>
#include <platform/internal/apAtomic.h>

#include <algorithm>
#include <atomic>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// How lookups run beside changes. Changes hold the library's lock and, when the outermost one
// ends, publish what lookups read: each database's chain of catalogues, the current domain's, and
// per domain name the chain of its first database. Lookups read those words and nothing else of
// the registry, so they take no lock. A catalogue whose last use is given back while databases
// remain is retired rather than freed (a lookup may still be reading it, and translations handed
// out point into it); retired catalogues are taken up again when their file is wanted, and freed,
// with every chain, once no database is left.

namespace {

using Manager = nlsDomainManager;
// Every walk of the databases takes a cursor of its own: a walk may call a handler or a sink that
// registers or destroys databases, which walks again.
using Walk = nlsDataBasecoDListPtrcoPtrcoDListBcoCursor;

// Assertion reports name a fixed line rather than __LINE__: filters that applications keep for
// these reports match on it, whatever this file's layout.
constexpr int kErrorAssertLine = 492;

// What textdomain gives for a database without a catalogue: "" rather than a null text, so that
// it can tell a selected database without one from an unknown name.
const char* const kNoDomain = "";

// One per domain name ever registered or bound: a handful, kept for the life of the process so
// that a lookup never walks a freed entry.
struct DomainSlot {
    std::string name;
    std::atomic<const nlsCatalogueChain*> chain{nullptr};
    const char* codeset = nullptr; // interned; changed under the lock only
    DomainSlot* next = nullptr;
};
std::atomic<DomainSlot*> g_domain_slots{nullptr};
std::atomic<const nlsCatalogueChain*> g_current_chain{nullptr};

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

DomainSlot* make_slot(const char* name) {
    if (DomainSlot* slot = find_slot(name)) return slot;
    DomainSlot* slot = new DomainSlot;
    slot->name = name;
    slot->next = g_domain_slots.load(std::memory_order_relaxed);
    g_domain_slots.store(slot, std::memory_order_release);
    return slot;
}

// Catalogues whose last use went while databases remain, and every chain made: freed once no
// database is left.
struct Kept {
    std::vector<nlsLoadedDomain*> retired;
    std::vector<std::unique_ptr<nlsCatalogueChain>> chains;
    void free_all() {
        for (nlsLoadedDomain* catalogue : retired)
            delete catalogue;
        retired.clear();
        chains.clear();
    }
    ~Kept() { free_all(); }
};
Kept& kept() {
    static Kept lists;
    return lists;
}

// Set by every change that lookups must see; publish() clears it.
bool g_changed = false;

utString g_source_language, g_source_code;

const nlsCatalogueChain* make_chain(const std::vector<nlsLoadedDomain*>& catalogues,
                                    const char* codeset) {
    for (const auto& chain : kept().chains)
        if (chain->catalogues == catalogues && chain->codeset == codeset) return chain.get();
    kept().chains.push_back(std::make_unique<nlsCatalogueChain>());
    nlsCatalogueChain* chain = kept().chains.back().get();
    chain->catalogues = catalogues;
    chain->codeset = codeset;
    return chain;
}

const char* codeset_of(const utString& domain) {
    DomainSlot* slot = find_slot(domain.c_str());
    return slot ? slot->codeset : nullptr;
}

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

// Names in byte order as unsigned values, case-sensitively; an empty name first.
bool name_before(const nlsLanguage& a, const nlsLanguage& b) {
    return std::strcmp(a.name().c_str(), b.name().c_str()) < 0;
}

bool is_source_language(const utString& name) {
    return !g_source_code.empty() && nls_language_code(name) == g_source_code;
}

// `strings` joined as "a>, <b", to stand between a report's own < and >.
utString joined(const std::vector<utString>& strings) {
    utString text(utStringLit{}, "");
    for (std::size_t i = 0; i < strings.size(); ++i)
        (i ? text << ">, <" : text) << strings[i];
    return text;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// A database's life and language

const utString& nlsRegistry::directory_of(const nlsDataBase& database) {
    return database.m_pathlist.empty() ? nlsDataBase::the_default_pathlist : database.m_pathlist;
}

const char* nlsRegistry::env_language_or_c() {
    const utString& env = nlsEnvironmentLanguage::get(nlsLANG_DATABASE).language;
    return env.is_null() ? "C" : nls_intern(env).text();
}

void nlsRegistry::attach(nlsDataBase& database) {
    nlsErrorData record = add(&database);
    if (record.code() != nlsERROR_NONE) {
        report(database, record);
        return;
    }
    if (!database.m_initialised) initialise(database, directory_of(database));
}

void nlsRegistry::detach(nlsDataBase& database) {
    unsigned int code = remove(&database);
    if (code != nlsERROR_NONE) report(database, nlsErrorData(code));
    release(database);
}

const nlsErrorData& nlsRegistry::add(nlsDataBase* database) {
    static nlsErrorData record(nlsERROR_NONE);
    record = nlsErrorData(nlsERROR_NONE);
    g_changed = true;
    if (!Manager::the_databases) Manager::the_databases = new nlsDataBasecoDListPtrcoPtrcoDList;
    if (Manager::the_databases->count() == 0) {
        // The first registration (or the first after every database went) sets the locale up.
        Manager::apply_locale(LC_ALL);
    } else {
        for (Walk it(Manager::the_databases); ++it;) {
            if (it.value() == database) {
                record = nlsErrorData(nlsERROR_DOMAIN_EXISTS, database->m_domain);
                record.add_string(utString(language_of(*database)));
                break;
            }
        }
    }
    if (record.code() == nlsERROR_NONE) Manager::the_databases->insert_last(database);
    if (!Manager::the_current_language.empty())
        switch_language(*database, Manager::the_current_language);
    return record;
}

unsigned int nlsRegistry::remove(nlsDataBase* database) {
    if (!Manager::the_databases) return nlsERROR_NO_DOMAIN;
    for (Walk it(Manager::the_databases); ++it;) {
        if (it.value() != database) continue;
        it.remove();
        g_changed = true;
        // Forget the selection too, so that gettext never reaches a destroyed database.
        if (Manager::the_current_domain == database) Manager::the_current_domain = nullptr;
        // The list goes with its last database; add makes a new one.
        if (Manager::the_databases->count() == 0) {
            delete Manager::the_databases;
            Manager::the_databases = nullptr;
        }
        return nlsERROR_NONE;
    }
    return nlsERROR_NO_DOMAIN;
}

void nlsRegistry::hold(nlsDataBase& database, const std::vector<nlsLoadedDomain*>& catalogues) {
    database.m_loaded_domain = catalogues.empty() ? nullptr : catalogues.front();
    database.m_chain =
        catalogues.empty() ? nullptr : make_chain(catalogues, codeset_of(database.m_domain));
    g_changed = true;
}

void nlsRegistry::release(nlsDataBase& database) {
    if (database.m_chain) {
        for (nlsLoadedDomain* catalogue : database.m_chain->catalogues)
            unload(catalogue);
    }
    hold(database, {});
}

nlsLoadedDomain* nlsRegistry::take_up(const nlsDataBase& database, const utString& path) {
    if (nlsLoadedDomain* shared = access(path)) return shared;
    unsigned int code = nlsERROR_NONE;
    nlsLoadedDomain* loaded = load(path, &code);
    if (!loaded) {
        // The report of why names no file; this one names it.
        utString strings[] = {database.m_domain, path};
        report(database, nlsErrorData(nlsERROR_CATALOG_FILE, strings, 2));
        report(database, nlsErrorData(code));
    }
    return loaded;
}

void nlsRegistry::initialise(nlsDataBase& database, const utString& pathlist) {
    std::vector<utString> directories;
    if (!pathlist.empty()) directories.push_back(pathlist);
    const char* nlspath = std::getenv("NLSPATH");
    if (!nlspath && pathlist.empty()) return;
    if (nlspath && *nlspath) directories.emplace_back(nlspath);
    g_changed = true;

    const nlsCatalogueSearch search(directories, database.m_domain, nlsDataBase::the_binary_suffix);
    nlsCatalogueSearch::Result found;
    if (database.m_language.empty() && Manager::the_current_language.empty()) {
        // The user's LANGUAGE list, while the language is the environment's.
        const utString& list = nlsEnvironmentLanguage::get(nlsLANG_DATABASE).priority;
        if (!list.empty()) found = search.priority_list(list, g_source_code);
        if (!found.paths.empty() || found.untranslated) database.m_language = found.language;
    }
    if (found.paths.empty() && !found.untranslated) {
        if (database.m_language.empty()) database.m_language = nlsLanguage(env_language_or_c());
        found = search.language(database.m_language,
                                nlsEnvironmentLanguage::locale_value_of(database.m_language.name()));
        database.m_language = found.language;
    }
    if (!found.paths.empty() && found.language != found.asked && Manager::verbose_loading_info) {
        utString strings[] = {database.m_domain, found.asked.name(), found.language.name()};
        report(database, nlsErrorData(nlsERROR_CATALOG_FALLBACK, strings, 3));
    }
    if (!found.paths.empty()) {
        std::vector<nlsLoadedDomain*> catalogues;
        if (nlsLoadedDomain* shared = access(found.paths.front())) {
            // Shared with another database: report the environment's language from now on, but
            // switch as if the file had been loaded here, by the language it was found for.
            catalogues.push_back(shared);
            database.m_shared_for = database.m_language;
            database.m_language = nlsLanguage();
        } else if (nlsLoadedDomain* loaded = take_up(database, found.paths.front())) {
            catalogues.push_back(loaded);
        }
        // The less specific catalogues answer what the chosen one lacks; a file reached under
        // two folder names (a link) answers once.
        for (std::size_t i = 1; !catalogues.empty() && i < found.paths.size(); ++i) {
            nlsLoadedDomain* next = take_up(database, found.paths[i]);
            if (next && std::find(catalogues.begin(), catalogues.end(), next) != catalogues.end())
                unload(next);
            else if (next)
                catalogues.push_back(next);
        }
        hold(database, catalogues);
    }
    if (!database.m_loaded_domain) {
        utString name = database.m_language.empty() ? utString(env_language_or_c())
                                                     : database.m_language.name();
        if (name != utString(utStringLit{}, "C") && !is_source_language(name)) {
            utString strings[] = {database.m_domain, name};
            report(database, nlsErrorData(nlsERROR_CATALOG_LANGUAGE, strings, 2));
            if (Manager::verbose_loading_info) {
                utString where[] = {database.m_domain, joined(search.directories()),
                                    joined(found.folders)};
                report(database, nlsErrorData(nlsERROR_CATALOG_SEARCH, where, 3));
            }
        }
    }
    database.m_initialised = 1;
}

int nlsRegistry::switch_language(nlsDataBase& database, const utString& name) {
    nlsLanguage wanted(name.c_str());
    const nlsLanguage current = database.m_shared_for.empty()
                                    ? nlsLanguage(language_of(database))
                                    : database.m_shared_for;
    if (wanted == current) return 1;
    release(database);
    database.m_shared_for = nlsLanguage();
    database.m_initialised = 0;
    database.m_language = wanted;
    initialise(database, directory_of(database));
    if (database.m_loaded_domain) return 1;
    if (database.m_language == nlsLanguage("C")) return 1;
    // The program's own language needs no catalogue: its messages are the text.
    if (is_source_language(database.m_language.name())) return 1;

    const utString& env = nlsEnvironmentLanguage::get(nlsLANG_DATABASE).language;
    database.m_language = env.is_null() ? nlsLanguage() : nlsLanguage(env.text());
    database.m_initialised = 0;
    initialise(database, directory_of(database));
    if (!database.m_loaded_domain) database.m_language = nlsLanguage("C");
    return 0;
}

const char* nlsRegistry::language_of(const nlsDataBase& database) {
    if (database.m_language.empty()) return env_language_or_c();
    return nls_intern(database.m_language.name()).c_str();
}

void nlsRegistry::list_languages(const nlsDataBase& database, coiFiller<nlsLanguage> filler) {
    // Copies, so that a sink that destroys this database does not pull them away mid-walk.
    const utString directory = directory_of(database);
    const nlsCatalogueSearch search({directory}, database.m_domain, nlsDataBase::the_binary_suffix);
    // Without a directory of its own the database has nothing to list; an empty path would
    // otherwise stand for the root or the working directory.
    if (directory.empty()) return;
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
            if (!search.file(language.name()).empty()) {
                listed.push_back(language);
                filler.add(language);
            }
            continue;
        }
        // Only the folders that the catalogue search tries for the language (not de_DE.UTF-8).
        language = nlsLanguage(nls_language_of(folder).c_str());
        if (language.iso_name().empty() || search.file(folder).empty()) continue;
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

int nlsRegistry::report(const nlsDataBase& database, const nlsErrorData& data) {
    nlsDataBase::handler_type handler = nlsDataBase::the_error_handler;
    if (!handler || data.code() == nlsERROR_NONE) return 1;
    if (handler(database, data)) return 1;
    char message[64];
    // The report's format takes the code as a signed number.
    std::snprintf(message, sizeof message, "nlsDataBase failed - with error %d",
                  static_cast<int>(data.code()));
    ut_report_assert_failure("nls/nlsDataBase", kErrorAssertLine, message, "nlsDataBase::error",
                             "0");
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Shared catalogues

nlsLoadedDomain* nlsRegistry::access(const utString& path) {
    nlsLoadedDomain* found = nullptr;
    for (nlsLoadedDomain* entry = Manager::the_loaded_domains; entry; entry = entry->next) {
        int order = compare_paths(entry->path, path);
        if (order == 0) found = entry;
        if (order >= 0) break;
    }
    // The same file under another spelling of its directory ("/big/", "/./big") is shared too.
    apFileIdentity identity;
    if (!found && apFileFinder::identity(path, identity)) {
        for (nlsLoadedDomain* entry = Manager::the_loaded_domains; entry && !found;
             entry = entry->next)
            if (entry->identity == identity) found = entry;
    }
    if (found) ++found->references;
    return found;
}

nlsLoadedDomain* nlsRegistry::load(const utString& path, unsigned int* error) {
    // A retired catalogue of that file, unchanged since, is still in memory: it is taken up
    // again, not reread. Where the system cannot tell files apart, the path decides.
    apFileIdentity identity;
    const bool known = apFileFinder::identity(path, identity);
    std::vector<nlsLoadedDomain*>& retired = kept().retired;
    for (auto it = retired.begin(); it != retired.end(); ++it) {
        if (known ? !((*it)->identity == identity) : compare_paths((*it)->path, path) != 0)
            continue;
        nlsLoadedDomain* entry = *it;
        retired.erase(it);
        if (error) *error = nlsERROR_NONE;
        insert_loaded(Manager::the_loaded_domains, entry);
        return entry;
    }
    nlsLoadedDomain* entry = new nlsLoadedDomain(path, error);
    if (entry->failed) {
        delete entry;
        return nullptr;
    }
    insert_loaded(Manager::the_loaded_domains, entry);
    return entry;
}

void nlsRegistry::unload(nlsLoadedDomain* catalogue) {
    for (nlsLoadedDomain** link = &Manager::the_loaded_domains; *link; link = &(*link)->next) {
        if (*link != catalogue) continue;
        if (--catalogue->references == 0) {
            *link = catalogue->next;
            catalogue->next = nullptr;
            // With no database left nobody can be reading it; otherwise a lookup may be.
            if (Manager::the_databases)
                kept().retired.push_back(catalogue);
            else
                delete catalogue;
        }
        return;
    }
}

// ---------------------------------------------------------------------------------------------
// The manager's choices

unsigned int nlsRegistry::choose_language(const utString& name) {
    // POSIX names (de_DE.UTF-8) are taken for the library's names they mean (German).
    const utString chosen = nls_language_of(name);
    nlsEnvironmentLanguage::choose(name, chosen);
    Manager::the_current_language = chosen;
    g_changed = true;
    // Every database decides for itself whether to search again: one that shares its catalogue
    // reports the environment's language, which need not be that of its file.
    if (Manager::the_databases)
        for (Walk it(Manager::the_databases); ++it;)
            switch_language(*it.value(), chosen);
    return Manager::apply_locale(LC_ALL);
}

const char* nlsRegistry::select_domain(const char* domain) {
    auto path_of = [](const nlsDataBase* database) {
        return database->m_loaded_domain ? database->m_loaded_domain->path.c_str() : kNoDomain;
    };
    if (!domain || !*domain)
        return Manager::the_current_domain ? path_of(Manager::the_current_domain) : nullptr;
    if (!Manager::the_databases) return nullptr;
    for (Walk it(Manager::the_databases); ++it;) {
        nlsDataBase* database = it.value();
        if (std::strcmp(database->m_domain.c_str(), domain) != 0) continue;
        Manager::the_current_domain = database;
        g_changed = true;
        return path_of(database);
    }
    return nullptr;
}

const char* nlsRegistry::bind_codeset(const char* domain, const char* codeset) {
    if (!domain || !*domain) return nullptr;
    DomainSlot* slot = make_slot(domain);
    if (!codeset) return slot->codeset;
    slot->codeset = *codeset ? nls_intern(utString(codeset)).c_str() : nullptr;
    if (Manager::the_databases) {
        for (Walk it(Manager::the_databases); ++it;) {
            nlsDataBase* database = it.value();
            if (database->m_chain && database->m_domain == utString(utStringLit{}, domain))
                database->m_chain = make_chain(database->m_chain->catalogues, slot->codeset);
        }
    }
    g_changed = true;
    return slot->codeset;
}

void nlsRegistry::set_source_language(const utString& name) {
    g_source_language = name;
    g_source_code = name.empty() ? utString() : nls_language_code(name);
}

const utString& nlsRegistry::source_language() {
    return g_source_language;
}

void nlsRegistry::list_common_languages(coiFiller<nlsLanguage> filler) {
    if (!Manager::the_databases || Manager::the_databases->count() == 0) return;
    // Each database's directory is read once; deliveries come after the walk, so that a sink
    // may register or destroy databases.
    std::vector<std::vector<nlsLanguage>> listed;
    for (Walk it(Manager::the_databases); ++it;) {
        listed.emplace_back();
        list_languages(*it.value(), coiFillers::make_filler(listed.back()));
    }
    std::vector<nlsLanguage> candidates = listed.front();
    std::sort(candidates.begin(), candidates.end(), name_before);
    for (const nlsLanguage& candidate : candidates) {
        bool everywhere = std::all_of(listed.begin(), listed.end(), [&](const auto& languages) {
            return std::find(languages.begin(), languages.end(), candidate) != languages.end();
        });
        if (everywhere) filler.add(candidate);
    }
}

// ---------------------------------------------------------------------------------------------
// What lookups read

void nlsRegistry::publish() {
    if (!g_changed) return;
    g_changed = false;
    if (Manager::the_databases) {
        for (Walk it(Manager::the_databases); ++it;) {
            nlsDataBase* database = it.value();
            ap_store_release(database->m_lookup_chain, database->m_chain);
            // Every domain name gets its slot before the slots are filled.
            make_slot(database->m_domain.c_str());
        }
    }
    g_current_chain.store(Manager::the_current_domain ? Manager::the_current_domain->m_chain
                                                      : nullptr,
                          std::memory_order_release);
    for (DomainSlot* slot = g_domain_slots.load(std::memory_order_acquire); slot;
         slot = slot->next) {
        const nlsCatalogueChain* chain = nullptr;
        if (Manager::the_databases) {
            for (Walk it(Manager::the_databases); ++it;) {
                if (slot->name != it.value()->m_domain.c_str()) continue;
                chain = it.value()->m_chain;
                break;
            }
        }
        slot->chain.store(chain, std::memory_order_release);
    }
    if (!Manager::the_databases) kept().free_all();
}

const nlsCatalogueChain* nlsRegistry::published_chain(const char* domain) {
    if (!domain) return g_current_chain.load(std::memory_order_acquire);
    DomainSlot* slot = find_slot(domain);
    return slot ? slot->chain.load(std::memory_order_acquire) : nullptr;
}
