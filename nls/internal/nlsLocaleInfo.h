#pragma once

// Locale information as the domain manager's locale sources share it. Internal: not installed;
// nls_language_of is exported for the nls-catalog tool.

#include <platform/internal/apWinLocale.h>
#include <platform/utString.h>

#include <vector>

class nlsLanguage;

/// Locale data of `lcid` as text; empty when the query fails.
utString nls_locale_info(LCID lcid, LCTYPE type);
/// A language's English name up to its first blank: "Chinese (Simplified)" gives "Chinese".
utString nls_first_word(const utString& name);
/// The library's language name for a POSIX locale value: the table's name for its ISO name
/// ("de_DE.UTF-8" gives German, "pt_BR" Portuguese-BRA), else the language with its country
/// ("de_AT" gives German-AUT) or alone ("de" gives German); "C" for C, POSIX and C.<codeset>. Any
/// other value (a library name, an ISO name, "check") comes back as it is.
NLS_EXPORT utString nls_language_of(const utString& value);
/// The folders that catalogue trees laid out the POSIX way (/usr/share/locale) use for a language,
/// most specific first: de_DE and de for German, de_AT and de for German-AUT, nl for Dutch. None
/// for a language that no locale speaks.
std::vector<utString> nls_posix_folders(const nlsLanguage& language);
