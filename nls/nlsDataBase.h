#pragma once

#include <nls/fillers/coiFiller.h>
#include <nls/nlsLanguage.h>
#include <platform/apExport.h>
#include <platform/utString.h>

class nlsErrorData;
class nlsLoadedDomain;
struct nlsCatalogueChain;

/// The messages of one text domain: its name, language and catalogue directory, and the shared
/// catalogue that answers its translations. It registers with nlsDomainManager while it lives.
class NLS_EXPORT nlsDataBase {
public:
    /// A report handler: non-zero to carry on, zero when the failure is fatal.
    using handler_type = int (*)(const nlsDataBase& database, const nlsErrorData& data);

    /// A database without a directory of its own (NLSPATH and the default path list serve).
    explicit nlsDataBase(const char* domain);
    /// A database whose catalogues lie under `pathlist/LANGUAGE/LC_MESSAGES/DOMAIN.mo`.
    nlsDataBase(const char* pathlist, const char* domain);
    // Databases register with the domain manager by address: a copy would be unregistered.
    nlsDataBase(const nlsDataBase&) = delete;
    nlsDataBase& operator=(const nlsDataBase&) = delete;
    ~nlsDataBase();

    /// The path of the catalogue file in use, or "" without one (not the domain name).
    const utString& domain() const;
    /// The database's language; the environment's (or "C") while none was chosen. The text stays
    /// valid for the life of the process.
    const char* language() const;
    /// Switches to `name` and searches again: 1 when it (or its short form, or "C") is in
    /// effect, 0 when the environment language was taken instead. Nothing changes when `name` is
    /// in effect already; for a database that shares its catalogue, that is the language the
    /// catalogue was found for, whatever language() reports.
    int language(const utString& name);
    /// The catalogue directory: the one given, else the_default_pathlist.
    const utString& pathlist() const;
    /// The directory that catalogue searches start from; the same as pathlist().
    const utString& locale_path() const;
    /// Delivers, in directory order, each table language that a subdirectory of pathlist() names
    /// and for which `pathlist()/NAME/LC_MESSAGES/DOMAIN.mo` exists, then, once each, those of
    /// folders named the POSIX way (`de`, `de_DE`). NLSPATH is not looked at.
    void list_available_languages(coiFiller<nlsLanguage> filler) const;

    /// Lookups in this database's catalogue, whatever the current domain: the translation, or
    /// `message` itself; for plurals the form for `n`, or without one `singular` for n == 1 and
    /// `plural` otherwise; with a context, the entry of `message` in `context`.
    ///@{
    const char* gettext(const char* message) const;
    const char* ngettext(const char* singular, const char* plural, unsigned long n) const;
    const char* pgettext(const char* context, const char* message) const;
    const char* npgettext(const char* context, const char* singular, const char* plural,
                          unsigned long n) const;
    ///@}

    /// Translations of this database's domain come in `codeset` ("UTF-8", "ISO-8859-1") from now
    /// on, for every database of the domain; null changes nothing. Returns the codeset bound, or
    /// null while none is: then they come in the charset of the process's locale at the time.
    const char* bind_codeset(const char* codeset);

    /// Installs `handler` (null silences every report, fatal ones included) and returns the
    /// handler installed before.
    static handler_type error_handler(handler_type handler);
    /// A handler for applications that want errors reported but not the warnings about a
    /// missing catalogue or a fallback language: the default handler for every other report.
    static int report_errors_only(const nlsDataBase& database, const nlsErrorData& data);

protected:
    /// Looks for the catalogue under `pathlist` and NLSPATH and takes it into use.
    void initialise(const utString& pathlist);
    /// `head/CATEGORY/tail` (CATEGORY as category_to_name gives it) in a new malloc'ed buffer
    /// that the caller frees.
    char* catalog_sub_path(const char* head, const char* tail, int category) const;
    /// "LC_ALL", "LC_COLLATE", "LC_CTYPE", "LC_MONETARY", "LC_MESSAGES", "LC_TIME" for 0 to 5;
    /// "LC_XXX" otherwise.
    static const char* category_to_name(int category);

    /// Hands a report to the handler: 1 to carry on; 0, after an assertion report, when the
    /// handler declared it fatal. Code 0 reaches no handler.
    int error(const nlsErrorData& data) const;

    /// The catalogue directory of databases made without one; empty unless a derived class sets
    /// it.
    static utString the_default_pathlist;
    /// The databases' report handler; null silences their reports.
    static handler_type the_error_handler;

    utString m_domain;                ///< the text domain's name
    int m_initialised;                ///< non-zero once a catalogue search has run
    nlsLanguage m_language;           ///< the language in effect; empty: the environment's
    nlsLoadedDomain* m_loaded_domain; ///< the catalogue in use; null without one
    utString m_pathlist;              ///< the directory given; empty without one

private:
    // The domain manager's registry keeps this state; the database only asks it.
    friend class nlsRegistry;

    /// The catalogues that answer lookups, m_loaded_domain first; null without one.
    const nlsCatalogueChain* m_chain;
    /// m_chain as lookups in any thread read it: published at the end of each change.
    const nlsCatalogueChain* m_lookup_chain;
    /// While the catalogue is shared with another database (m_language is then empty): the
    /// language it was found for, by which the database decides whether a switch is needed.
    nlsLanguage m_shared_for;

    /// Writes the report as one line; warnings carry on, errors (bit 0) are fatal.
    static int the_default_error_handler(const nlsDataBase& database, const nlsErrorData& data);

    static utString the_binary_suffix;
};