#pragma once

// Internal: not installed.

#include <vector>

class nlsLoadedDomain;

/// The catalogues that answer one database's lookups, most specific first: the one it chose, then
/// those its language falls back to (de_AT, then de; the next LANGUAGE entries), each answering
/// what the ones before it lack; and the codeset that translations are wanted in (null: the
/// process's at the time of the lookup). Never changed once made, and kept until no database is
/// left, so lookups read it without a lock.
struct nlsCatalogueChain {
    std::vector<nlsLoadedDomain*> catalogues;
    const char* codeset = nullptr;

    /// Lookups along `chain`, null for none: the first catalogue holding the message answers,
    /// with its own plural rule; without one, the message (or the form for `n`) passed in.
    ///@{
    static const char* gettext(const nlsCatalogueChain* chain, const char* message);
    static const char* ngettext(const nlsCatalogueChain* chain, const char* singular,
                                const char* plural, unsigned long n);
    static const char* pgettext(const nlsCatalogueChain* chain, const char* context,
                                const char* message);
    static const char* npgettext(const nlsCatalogueChain* chain, const char* context,
                                 const char* singular, const char* plural, unsigned long n);
    ///@}
};

/// What a plural lookup without a translation gives: the very pointer passed in for the form.
inline const char* nls_untranslated(const char* singular, const char* plural, unsigned long n) {
    return n == 1 ? singular : plural;
}
