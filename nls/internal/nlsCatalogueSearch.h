#pragma once

// Internal: not installed.

#include <nls/nlsLanguage.h>
#include <platform/utString.h>

#include <vector>

/// Where the catalogues of one domain lie: its directories (the database's own, then NLSPATH).
/// Asks the file system and changes nothing.
class nlsCatalogueSearch {
public:
    /// `suffix` ends every catalogue file name (".mo").
    nlsCatalogueSearch(std::vector<utString> directories, const utString& domain,
                       const utString& suffix);

    /// What a search found.
    struct Result {
        /// The catalogue files in the order in which they answer; empty when none was found.
        std::vector<utString> paths;
        /// The language to keep: that of the first file found; without one, the language asked
        /// for (shortened once its short form was tried), or the entry that ended a list.
        nlsLanguage language;
        /// The language asked for that the first file was found for (a list's entry).
        nlsLanguage asked;
        /// The language folders looked for, in order.
        std::vector<utString> folders;
        /// A list ended at "C" or at the program's own language before any entry had a
        /// catalogue: messages stay untranslated.
        bool untranslated = false;
    };

    /// The catalogues of `language`, most specific first, `locale_value` being the POSIX locale
    /// value it stands for ("de_AT.UTF-8" for German-AUT) or empty: under the library's names
    /// first (German-AUT, then German), then under the POSIX folder names of the value (or of a
    /// name that is one) in the order GNU tools try them (de_AT.UTF-8, de_AT.utf8, de_AT,
    /// de.UTF-8, de.utf8, de), then under those of the language's ISO name.
    Result language(const nlsLanguage& language, const utString& locale_value) const;
    /// The catalogues of the entries of a LANGUAGE list ("fr:de_AT"), each entry's as language()
    /// finds them; the language kept is that of the first entry that has one. An entry "C", or
    /// one whose ISO 639 code is `source_code` (that of the language the program's messages are
    /// written in; empty: none), ends the list after its own catalogues.
    Result priority_list(const utString& list, const utString& source_code) const;

    /// The directories searched, in order.
    const std::vector<utString>& directories() const { return m_directories; }
    /// The catalogue file in `folder` of the first directory that has one; empty when none has.
    utString file(const utString& folder) const;

private:
    std::vector<utString> m_directories;
    utString m_domain;
    utString m_suffix;
};
