#pragma once

// Internal: not installed.

#include <nls/fillers/coiFiller.h>
#include <nls/nlsLanguage.h>
#include <platform/utString.h>

#include <vector>

class nlsDataBase;
class nlsErrorData;
class nlsLoadedDomain;
struct nlsCatalogueChain;

/// The domain manager's work on databases and catalogues: registration, the search for each
/// database's catalogues and the chain that answers its lookups, language switches, the current
/// domain, the shared catalogues, and what lookups read. nlsDataBase and nlsDomainManager call
/// it; it calls neither back, but reads and writes their state as their friend. Every operation
/// runs under the library's lock, which its caller holds (nlsChangeGuard).
class nlsRegistry {
public:
    // A database's life and language.

    /// Registers `database` as it is constructed and searches its catalogues.
    static void attach(nlsDataBase& database);
    /// Unregisters `database` as it is destroyed and gives its catalogues back.
    static void detach(nlsDataBase& database);
    /// Appends `database` to the registered ones (the first sets the process locale up) and
    /// switches it to the chosen language; nlsERROR_DOMAIN_EXISTS for one registered already.
    static const nlsErrorData& add(nlsDataBase* database);
    /// Takes `database` off the list; nlsERROR_NO_DOMAIN when it was not on it.
    static unsigned int remove(nlsDataBase* database);
    /// Searches the catalogues of `database` under `pathlist` and NLSPATH and takes them up.
    static void initialise(nlsDataBase& database, const utString& pathlist);
    /// Switches `database` to the language `name`, falling back to the environment's, then "C".
    static int switch_language(nlsDataBase& database, const utString& name);
    /// The database's language as nlsDataBase::language() reports it; valid for ever.
    static const char* language_of(const nlsDataBase& database);
    /// The languages under the database's directory that have its catalogue.
    static void list_languages(const nlsDataBase& database, coiFiller<nlsLanguage> filler);
    /// Hands `data` to the databases' handler, as nlsDataBase::error does.
    static int report(const nlsDataBase& database, const nlsErrorData& data);

    // Shared catalogues.

    /// The catalogue of `path` (or of the same file under another spelling) with one more use.
    static nlsLoadedDomain* access(const utString& path);
    /// Reads the catalogue of `path` with one use, or takes up a retired one of the same file.
    static nlsLoadedDomain* load(const utString& path, unsigned int* error);
    /// Gives one use of `catalogue` back.
    static void unload(nlsLoadedDomain* catalogue);

    // The manager's choices.

    /// The application's choice of language: every database switches, then the process locale.
    static unsigned int choose_language(const utString& name);
    /// Selects the first database of `domain` for gettext; its catalogue path, or null.
    static const char* select_domain(const char* domain);
    /// The codeset in which lookups in `domain` answer; null leaves it. The codeset bound.
    static const char* bind_codeset(const char* domain, const char* codeset);
    /// The language in which the program's messages are written; empty: none.
    static void set_source_language(const utString& name);
    static const utString& source_language(); ///< as set_source_language gave it
    /// The languages that every registered database lists, sorted by name.
    static void list_common_languages(coiFiller<nlsLanguage> filler);

    /// Makes what lookups read match the state, when a change made since the last time needs it;
    /// the outermost nlsChangeGuard calls it. Frees retired catalogues once no database is left.
    static void publish();
    /// The chain that lookups in `domain` read (null: the current domain's); lock-free.
    static const nlsCatalogueChain* published_chain(const char* domain);

private:
    /// The directory the database's searches start from: its own, else the default one.
    static const utString& directory_of(const nlsDataBase& database);
    /// The environment's language for databases, or "C" when nothing gave one.
    static const char* env_language_or_c();
    /// Makes `catalogues` (each with one use taken already) the database's chain.
    static void hold(nlsDataBase& database, const std::vector<nlsLoadedDomain*>& catalogues);
    /// Gives back every catalogue of the database's chain.
    static void release(nlsDataBase& database);
    /// The catalogue of `path`, shared or read now; a file that does not load is reported.
    static nlsLoadedDomain* take_up(const nlsDataBase& database, const utString& path);
};
